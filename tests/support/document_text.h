// Reading a rich-text document back in a test: its text with "\n" between paragraphs, so
// failures read easily, and the format of the run that holds a piece of text.
#pragma once

#include "platform/richtext/rich_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace keystride::testing {

inline std::string paragraphLines(const RichDocument& document) {
    std::string lines;
    for (const Paragraph& paragraph : document.paragraphs) {
        if (&paragraph != &document.paragraphs.front())
            lines += '\n';
        for (const TextRun& run : paragraph.runs)
            lines += toUtf8(run.text);
    }
    return lines;
}

// The format of the run holding the first occurrence of `needle`.
inline CharFormat formatOf(const RichDocument& document, std::u16string_view needle) {
    for (const Paragraph& paragraph : document.paragraphs) {
        for (const TextRun& run : paragraph.runs) {
            if (run.text.find(needle) != std::u16string::npos)
                return run.format;
        }
    }
    ADD_FAILURE() << "no run holds " << toUtf8(needle);
    return {};
}

} // namespace keystride::testing
