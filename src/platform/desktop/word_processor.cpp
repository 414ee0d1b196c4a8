#include "platform/desktop/word_processor.h"

#include <cctype>

namespace keystride {

namespace {

bool isLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

struct ControlWord {
    std::size_t start = 0; // the backslash
    std::size_t end = 0;   // one past the word and its number
    std::string_view name;
};

// Reads the control word whose backslash is at `pos`; a control symbol has an empty name.
ControlWord readControlWord(std::string_view rtf, std::size_t pos) {
    ControlWord word{pos, pos + 1, {}};
    std::size_t i = pos + 1;
    while (i < rtf.size() && isLetter(rtf[i]))
        ++i;
    word.name = rtf.substr(pos + 1, i - pos - 1);
    if (word.name.empty()) {
        word.end = std::min(rtf.size(), pos + 2);
        return word;
    }
    if (i < rtf.size() && rtf[i] == '-')
        ++i;
    while (i < rtf.size() && isDigit(rtf[i]))
        ++i;
    word.end = i;
    return word;
}

} // namespace

std::string rtfWithLeftMargin(std::string_view rtf, int twips) {
    const std::string margin = "\\margl" + std::to_string(twips);
    int depth = 0;
    std::size_t afterHeader = std::string_view::npos; // just past "\rtf1"
    std::size_t firstParagraph = std::string_view::npos;
    for (std::size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            ++i;
            continue;
        }
        if (c == '}') {
            --depth;
            ++i;
            continue;
        }
        if (c != '\\') {
            ++i;
            continue;
        }
        const ControlWord word = readControlWord(rtf, i);
        if (word.name == "bin") {
            // Binary data may hold any byte, braces and backslashes included.
            const std::string_view number = rtf.substr(i + 4, word.end - i - 4);
            std::size_t length = 0;
            for (char d : number)
                length = isDigit(d) ? length * 10 + static_cast<std::size_t>(d - '0') : length;
            i = std::min(rtf.size(), word.end + 1 + length);
            continue;
        }
        if (depth == 1 && word.name == "margl") {
            std::string out(rtf.substr(0, word.start));
            out += margin;
            out += rtf.substr(word.end);
            return out;
        }
        if (depth == 1 && word.name == "rtf" && afterHeader == std::string_view::npos)
            afterHeader = word.end;
        if (depth == 1 && word.name == "pard" && firstParagraph == std::string_view::npos)
            firstParagraph = word.start;
        i = word.end;
    }
    std::size_t at = firstParagraph != std::string_view::npos ? firstParagraph : afterHeader;
    if (at == std::string_view::npos) {
        // Not RTF at all: the caller's text is left as it is.
        return std::string(rtf);
    }
    // What follows "\\rtf1" cannot be a letter or digit, so it delimits the margin's word as it
    // delimited the header's (a blank is consumed by the word in front of it either way).
    std::string out(rtf.substr(0, at));
    out += margin;
    out += rtf.substr(at);
    return out;
}

} // namespace keystride
