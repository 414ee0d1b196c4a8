// The rich-text model as JSON, shared by the command-line tools.
#pragma once

#include "platform/richtext/rich_text.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace keystride {

// Objects keep their keys in the order they were written.
using Json = nlohmann::ordered_json;

// A whole value as an integer (12, not 12.0), any other as the shortest decimal that reads back
// as the same value (9.75); null for a value JSON cannot hold.
Json jsonNumber(double value);

// [{"start":0,"length":5,"font":"Courier New","size":12,"colour":"#000000","background":null,
//   "bold":false,"underline":false},...] with one object per span, in order.
Json formatSpansJson(const std::vector<FormatSpan>& spans);

// The value on one line without blanks; bytes that are not UTF-8 become U+FFFD.
std::string jsonText(const Json& value);

} // namespace keystride
