// JSON for formatting runs, shared by the command-line tools.
#pragma once

#include "platform/richtext/rich_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace keystride {

// A JSON string literal (quotes included) for UTF-8 text; malformed UTF-8 becomes U+FFFD.
std::string jsonString(std::string_view utf8);

// A JSON number: the shortest decimal that reads back as the same value (12, 9.75); null for a
// value JSON cannot hold.
std::string jsonNumber(double value);

// [{"start":0,"length":5,"font":"Courier New","size":12,"colour":"#000000","background":null,
//   "bold":false,"underline":false},...] with one object per span, in order.
std::string formatSpansJson(const std::vector<FormatSpan>& spans);

} // namespace keystride
