// The numbers in toolhost's tables: fixed six decimals where they fit, never
// a negative zero, and whole (not cut off) when they are huge.
#include "report.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Report, NumbersReadTheSameWhateverTheirSize) {
    const struct {
        double value;
        const char *shown;
    } cases[] = {
        {2.5, "2.500000"},      {-1.5707963267948966, "-1.570796"}, {-0.0, "0.000000"},
        {-1e-9, "0.000000"},    {123456789.125, "123456789.125000"}, {1e308, "1e+308"},
        {-1e300, "-1e+300"},    {INFINITY, "inf"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(toolhost::formatNumber(c.value), c.shown) << c.value;
}
