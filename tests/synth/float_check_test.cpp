#include "synth/float_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "os/errors.h"

namespace tv {
namespace {

std::string divideError(double a, double b) {
    try {
        checkedDivide(a, b);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

TEST(CheckedDivide, ReportsEachFloatingErrorByItsMessage) {
    EXPECT_EQ(divideError(1, 0), "0 による浮動小数点数除算");
    EXPECT_EQ(divideError(-1, 0), "0 による浮動小数点数除算");
    EXPECT_EQ(divideError(0, 0), "不正な浮動小数点数演算命令");
    EXPECT_EQ(divideError(1e308, 1e-308), "浮動小数点数演算でオーバーフローしました");
    EXPECT_EQ(divideError(1, 3), "");
    // An error leaves the flags clear, so the next operation starts clean.
    EXPECT_FALSE(floatErrorRaised());
}

TEST(CheckedDivide, DoesNotSeeAFlagRaisedBeforeIt) {
    divideInOrder(1, 0);
    EXPECT_TRUE(floatErrorRaised());  // the division really ran, constants and all
    EXPECT_EQ(checkedDivide(6, 3), 2);
}

TEST(CheckedMultiply, ReportsOverflow) {
    EXPECT_THROW(checkedMultiply(std::numeric_limits<long double>::max(), 2.0L), Error);
    EXPECT_EQ(checkedMultiply(0.5L, 4.0L), 2.0L);
}

TEST(RoundToInt64, RoundsTiesToEven) {
    const struct {
        double value;
        int64_t rounded;
    } cases[] = {{0.5, 0},   {1.5, 2},     {2.5, 2},
                 {3.5, 4},   {-0.5, 0},    {-1.5, -2},
                 {-2.5, -2}, {617.4, 617}, {616.9999999999999, 617}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundToInt64(c.value), c.rounded) << c.value;
        EXPECT_EQ(roundToInt64(static_cast<long double>(c.value)), c.rounded) << c.value;
    }
}

TEST(RoundToInt64, RefusesValuesOutsideInt64) {
    EXPECT_EQ(roundToInt64(-0x1p63), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(roundToInt64(9223372036854775807.0L), std::numeric_limits<int64_t>::max());
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (double v : {0x1p63, -0x1p64, std::nan(""), kInf, -kInf}) {
        EXPECT_THROW(roundToInt64(v), Error) << v;
        EXPECT_THROW(roundToInt64(static_cast<long double>(v)), Error) << v;
    }
    EXPECT_THROW(roundToInt64(0x1p63L), Error);
}

}  // namespace
}  // namespace tv
