// Text to numbers, truncation and degree trigonometry.
#include <cerrno>
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
    // Too large becomes the largest finite value, too small becomes zero.
    size_t e = text.find_first_of("eE", start);
    bool tiny = e < i && text[e + 1] == '-';
    v = tiny ? 0.0 : std::numeric_limits<double>::max();
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
