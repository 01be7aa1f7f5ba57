// Text to numbers, truncation and degree trigonometry.
#include <cerrno>
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/platform.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// Leading blanks, an optional sign, then decimal digits; saturates instead of
// overflowing so hostile files cannot cause undefined behaviour.
int64_t parse_integer(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && blank(text[i])) i++;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate as a negative number so that the most negative value fits.
  int64_t v = 0;
  constexpr int64_t lowest = std::numeric_limits<int64_t>::min();
  for (; i < text.size() && digit(text[i]); i++) {
    int d = text[i] - '0';
    if (v < (lowest + d) / 10) {
      v = lowest;
      // Keep consuming digits but stay saturated.
      continue;
    }
    v = v * 10 - d;
  }
  if (negative) return v;
  return v == lowest ? std::numeric_limits<int64_t>::max() : -v;
}

// The power of ten of the first nonzero digit of the number in
// text[start, end) (digits, an optional fraction, an optional exponent),
// saturated far beyond any double's range.
int64_t decimalorder(const std::string& text, size_t start, size_t end) {
  constexpr int64_t kFar = int64_t{1} << 40;
  int64_t order = 0;
  bool found = false;
  size_t i = start;
  for (; i < end && digit(text[i]); i++) {
    if (found) order = std::min(order + 1, kFar);
    if (!found && text[i] != '0') found = true;
  }
  if (i < end && text[i] == '.') {
    for (i++; i < end && digit(text[i]); i++) {
      if (found) break;
      order = std::max(order - 1, -kFar);
      if (text[i] != '0') found = true;
    }
    while (i < end && digit(text[i])) i++;
  }
  if (!found) return -kFar;  // zero: never out of range, but tiny if asked
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    i++;
    const bool down = i < end && text[i] == '-';
    if (i < end && (text[i] == '+' || text[i] == '-')) i++;
    int64_t e = 0;
    for (; i < end && digit(text[i]); i++) e = std::min(e * 10 + (text[i] - '0'), kFar);
    order += down ? -e : e;
  }
  return order;
}

}  // namespace

int64_t ToLong(const std::string& text) { return parse_integer(text); }

int ToInt(const std::string& text) {
  int64_t v = parse_integer(text);
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return int(v);
}

double ToDouble(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && blank(text[i])) i++;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t start = i;
  size_t digits = 0;
  while (i < text.size() && digit(text[i])) i++, digits++;
  if (i < text.size() && text[i] == '.') {
    i++;
    while (i < text.size() && digit(text[i])) i++, digits++;
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) j++;
    if (j < text.size() && digit(text[j])) {
      while (j < text.size() && digit(text[j])) j++;
      i = j;
    }
  }
  double v = 0;
#ifdef __EMSCRIPTEN__
  // The browser build's C++ library reads no floating-point numbers with
  // from_chars; its strtod rounds correctly too, and the text is checked.
  const std::string part = text.substr(start, i - start);
  errno = 0;
  v = std::strtod(part.c_str(), nullptr);
  struct {
    std::errc ec;
  } res{errno == ERANGE ? std::errc::result_out_of_range : std::errc()};
#else
  auto res = std::from_chars(text.data() + start, text.data() + i, v, std::chars_format::general);
#endif
  if (res.ec == std::errc::result_out_of_range) {
    // Too large becomes the largest finite value, too small becomes zero,
    // judged by the value: "0.000...1e5" is tiny whatever its exponent's sign.
    v = decimalorder(text, start, i) > 0 ? std::numeric_limits<double>::max() : 0.0;
  } else if (res.ec != std::errc()) {
    v = 0;
  }
  return negative ? -v : v;
}

std::string Upper(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return out;
}

int TruncInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int>::min();
  return int(v);
}

int64_t TruncLong(double v) {
  if (std::isnan(v)) return 0;
  constexpr double two63 = 9223372036854775808.0;
  if (v >= two63) return std::numeric_limits<int64_t>::max();
  if (v <= -two63) return std::numeric_limits<int64_t>::min();
  return int64_t(v);
}

namespace {
constexpr double kDeg = 180.0 / 3.14159265358979323846;
}

double ATan(double x) { return std::atan(x) * kDeg; }

double ATan2(double y, double x) {
  double d = std::atan2(y, x) * kDeg;
  return d <= -180.0 ? 180.0 : d;
}

double Sin(double degrees) { return std::sin(degrees / kDeg); }
double Cos(double degrees) { return std::cos(degrees / kDeg); }
