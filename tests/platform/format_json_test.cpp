#include "platform/richtext/format_json.h"

#include <gtest/gtest.h>

#include <limits>

namespace keystride {
namespace {

TEST(FormatJson, NumbersAreTheShortestThatReadBack) {
    EXPECT_EQ(jsonText(jsonNumber(12)), "12");
    EXPECT_EQ(jsonText(jsonNumber(-3)), "-3");
    EXPECT_EQ(jsonText(jsonNumber(9.75)), "9.75");
    EXPECT_EQ(jsonText(jsonNumber(13.75)), "13.75");
    EXPECT_EQ(jsonText(jsonNumber(0.1)), "0.1");
    EXPECT_EQ(jsonText(jsonNumber(std::numeric_limits<double>::quiet_NaN())), "null");
    EXPECT_EQ(jsonText(jsonNumber(std::numeric_limits<double>::infinity())), "null");
}

TEST(FormatJson, TextThatIsNotUtf8IsReplacedNotRefused) {
    EXPECT_EQ(jsonText(Json("bad \xe9 byte")), "\"bad \xef\xbf\xbd byte\"");
}

TEST(FormatJson, SpansListEveryAttributeInOrder) {
    CharFormat marked;
    marked.font = "Courier1";
    marked.size = 9.75;
    marked.colour = colours::red;
    marked.background = Colour::rgb(0xab, 0xcd, 0xef);
    marked.bold = true;
    marked.underline = true;
    EXPECT_EQ(jsonText(formatSpansJson({})), "[]");
    EXPECT_EQ(
        jsonText(formatSpansJson({{0, 5, CharFormat{}}, {5, 2, marked}})),
        "[{\"start\":0,\"length\":5,\"font\":\"Courier New\",\"size\":12,"
        "\"colour\":\"#000000\",\"background\":null,\"bold\":false,\"underline\":false},"
        "{\"start\":5,\"length\":2,\"font\":\"Courier1\",\"size\":9.75,"
        "\"colour\":\"#ff0000\",\"background\":\"#abcdef\",\"bold\":true,\"underline\":true}]");
}

} // namespace
} // namespace keystride
