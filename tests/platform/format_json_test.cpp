// What keystride-mark and keystride-doc print must read back as the numbers and text they hold:
// whole numbers without a fraction, no number a reader cannot parse, and a learner's text that
// is not valid UTF-8 replaced rather than refused.
#include "platform/richtext/format_json.h"

#include <gtest/gtest.h>

#include <limits>

namespace keystride {
namespace {

TEST(FormatJson, NumbersAndTextReadBack) {
    EXPECT_EQ(jsonText(jsonNumber(12)), "12");
    EXPECT_EQ(jsonText(jsonNumber(-3)), "-3");
    EXPECT_EQ(jsonText(jsonNumber(9.75)), "9.75");
    EXPECT_EQ(jsonText(jsonNumber(0.1)), "0.1");
    EXPECT_EQ(jsonText(jsonNumber(std::numeric_limits<double>::quiet_NaN())), "null");
    EXPECT_EQ(jsonText(Json("bad \xe9 byte")), "\"bad \xef\xbf\xbd byte\"");
}

} // namespace
} // namespace keystride
