// What the pages of a class report share: escaping of untrusted text (test names, learners'
// typing), the page around a body with its one stylesheet, bar charts drawn as inline SVG, and
// numbers written as every other output of the class writes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keystride::classmarking::html {

// Text for an HTML element or attribute: markup characters escaped, bytes that are not UTF-8 and
// control characters other than tab and line feed replaced by U+FFFD.
std::string escape(std::u16string_view text);
std::string escape(std::string_view utf8);

// A whole page: the doctype, the title, the stylesheet (screen and print) and the body.
std::string page(const std::string& title, const std::string& body);

// A number as the CSV and the JSON write it ("47.9", "52", "-3.5"); "–" for none.
std::string number(std::optional<double> value);

struct Bar {
    std::string label;           // escaped already
    std::optional<double> value; // no bar when empty
    std::string valueText;       // escaped already
    std::string link;            // the bar's label links here when not empty
};

// Horizontal bars, one per entry, on a common scale from the smaller of 0 and the least value
// to the greatest; `marker` draws a dashed line at that value (the median).
std::string barChart(const std::string& caption, const std::vector<Bar>& bars,
                     std::optional<double> marker = std::nullopt);

// The file name of a path without its folders.
std::string fileName(const std::string& path);

} // namespace keystride::classmarking::html
