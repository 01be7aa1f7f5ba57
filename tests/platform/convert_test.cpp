#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/platform.h"

TEST(TextToNumber, IntegersSkipBlanksTakeSignAndStopAtOtherCharacters) {
  EXPECT_EQ(ToInt("42"), 42);
  EXPECT_EQ(ToInt("  \t-17abc"), -17);
  EXPECT_EQ(ToInt("+8"), 8);
  EXPECT_EQ(ToInt("12 34"), 12);
  EXPECT_EQ(ToInt("3.9"), 3);
  EXPECT_EQ(ToInt(""), 0);
  EXPECT_EQ(ToInt("abc"), 0);
  EXPECT_EQ(ToInt("-"), 0);
  EXPECT_EQ(ToInt("- 5"), 0);
  EXPECT_EQ(ToInt("0x1F"), 0);
  EXPECT_EQ(ToInt("\r\n 7\r"), 7);
}

TEST(TextToNumber, LongsHoldSixtyFourBitsAndSaturate) {
  EXPECT_EQ(ToLong("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ToLong("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ToLong(" 123456789012345x"), 123456789012345LL);
  EXPECT_EQ(ToLong("99999999999999999999999"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ToLong("-99999999999999999999999"), std::numeric_limits<int64_t>::min());
  // Ints saturate at their own range instead of wrapping.
  EXPECT_EQ(ToInt("4294967297"), std::numeric_limits<int>::max());
  EXPECT_EQ(ToInt("-2147483648"), std::numeric_limits<int>::min());
  EXPECT_EQ(ToInt("2147483647"), 2147483647);
}

TEST(TextToNumber, DoublesTakeOnlyDecimalForms) {
  EXPECT_DOUBLE_EQ(ToDouble(" 2.5xyz"), 2.5);
  EXPECT_DOUBLE_EQ(ToDouble("-0.125"), -0.125);
  EXPECT_DOUBLE_EQ(ToDouble(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ToDouble("7."), 7.0);
  EXPECT_DOUBLE_EQ(ToDouble("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(ToDouble("1e"), 1.0);
  EXPECT_DOUBLE_EQ(ToDouble("1e+x"), 1.0);
  EXPECT_EQ(ToDouble("0.2"), 0.2);  // correctly rounded
  EXPECT_EQ(ToDouble("inf"), 0.0);
  EXPECT_EQ(ToDouble("nan"), 0.0);
  EXPECT_EQ(ToDouble("0x10"), 0.0);
  EXPECT_EQ(ToDouble("."), 0.0);
  EXPECT_EQ(ToDouble("-"), 0.0);
  EXPECT_TRUE(std::isfinite(ToDouble("1e999")));
  EXPECT_EQ(ToDouble("1e-999"), 0.0);
}

// Beyond the range a number saturates the way its value points, whatever
// the sign of its exponent: tiny gives 0, huge the largest finite double of
// its sign.
TEST(TextToNumber, DoublesBeyondRangeSaturateByTheirValue) {
  const double big = std::numeric_limits<double>::max();
  const std::string zeros(400, '0');
  EXPECT_EQ(ToDouble("0." + zeros + "1e5"), 0.0);
  EXPECT_EQ(ToDouble("-0." + zeros + "1e5"), 0.0);
  EXPECT_EQ(ToDouble("1" + zeros + "e-5"), big);
  EXPECT_EQ(ToDouble("-1" + zeros + "e-5"), -big);
  EXPECT_EQ(ToDouble("-1e999"), -big);
  EXPECT_EQ(ToDouble("1e999"), big);
  EXPECT_EQ(ToDouble("00000.5e-400"), 0.0);
  EXPECT_EQ(ToDouble("0." + zeros + "1e99999999999999999999999"), big);
  EXPECT_EQ(ToDouble("1" + zeros + "e-99999999999999999999999"), 0.0);
  // Within range the exponent and digits still meet as usual.
  EXPECT_EQ(ToDouble("0." + zeros + "1e405"), 1e4);
  EXPECT_EQ(ToDouble("1" + zeros + "e-398"), 100.0);
}

TEST(Truncation, TowardZeroWithoutUndefinedBehaviour) {
  EXPECT_EQ(TruncInt(2.9), 2);
  EXPECT_EQ(TruncInt(-2.9), -2);
  EXPECT_EQ(TruncInt(std::nan("")), 0);
  EXPECT_EQ(TruncInt(1e30), std::numeric_limits<int>::max());
  EXPECT_EQ(TruncInt(-1e30), std::numeric_limits<int>::min());
  EXPECT_EQ(TruncInt(INFINITY), std::numeric_limits<int>::max());
  EXPECT_EQ(TruncLong(-3.99), -3);
  EXPECT_EQ(TruncLong(1e19), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(TruncLong(-1e19), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(TruncLong(std::nan("")), 0);
  EXPECT_EQ(TruncLong(1e15 + 0.5), 1000000000000000LL);
}

TEST(TextAndAngles, UpperCaseOnlyLettersAndDegreeTrigonometry) {
  EXPECT_EQ(Upper("abc xyz-09_\xe9"), "ABC XYZ-09_\xe9");
  EXPECT_NEAR(Sin(90), 1.0, 1e-15);
  EXPECT_NEAR(Cos(180), -1.0, 1e-15);
  EXPECT_NEAR(Sin(30), 0.5, 1e-15);
  EXPECT_NEAR(ATan(1), 45.0, 1e-12);
  EXPECT_NEAR(ATan2(1, 0), 90.0, 1e-12);
  EXPECT_NEAR(ATan2(-1, -1), -135.0, 1e-12);
  // The half-open range (-180, 180]: both zeros on the negative axis give 180.
  EXPECT_EQ(ATan2(0.0, -1), 180.0);
  EXPECT_EQ(ATan2(-0.0, -1), 180.0);
}
