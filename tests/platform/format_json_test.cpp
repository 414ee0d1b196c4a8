#include "platform/richtext/format_json.h"

#include <gtest/gtest.h>

#include <limits>

namespace keystride {
namespace {

TEST(FormatJson, StringsAreEscapedForJson) {
    struct Row {
        std::string text;
        std::string json;
    };
    const Row rows[] = {
        {"", "\"\""},
        {"Courier New", "\"Courier New\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\r\n\t", "\"\\r\\n\\t\""},
        {std::string("\x01\x1f\0", 3), "\"\\u0001\\u001f\\u0000\""},
        {"caf\xc3\xa9 \xe2\x82\xac", "\"caf\xc3\xa9 \xe2\x82\xac\""},
        {"bad \xe9 byte", "\"bad \xef\xbf\xbd byte\""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(jsonString(row.text), row.json) << row.text;
}

TEST(FormatJson, NumbersAreTheShortestThatReadBack) {
    EXPECT_EQ(jsonNumber(12), "12");
    EXPECT_EQ(jsonNumber(9.75), "9.75");
    EXPECT_EQ(jsonNumber(13.75), "13.75");
    EXPECT_EQ(jsonNumber(0.1), "0.1");
    EXPECT_EQ(jsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(jsonNumber(std::numeric_limits<double>::infinity()), "null");
}

TEST(FormatJson, SpansListEveryAttributeInOrder) {
    CharFormat marked;
    marked.font = "Courier1";
    marked.size = 9.75;
    marked.colour = colours::red;
    marked.background = Colour::rgb(0xab, 0xcd, 0xef);
    marked.bold = true;
    marked.underline = true;
    EXPECT_EQ(formatSpansJson({}), "[]");
    EXPECT_EQ(
        formatSpansJson({{0, 5, CharFormat{}}, {5, 2, marked}}),
        "[{\"start\":0,\"length\":5,\"font\":\"Courier New\",\"size\":12,"
        "\"colour\":\"#000000\",\"background\":null,\"bold\":false,\"underline\":false},"
        "{\"start\":5,\"length\":2,\"font\":\"Courier1\",\"size\":9.75,"
        "\"colour\":\"#ff0000\",\"background\":\"#abcdef\",\"bold\":true,\"underline\":true}]");
}

} // namespace
} // namespace keystride
