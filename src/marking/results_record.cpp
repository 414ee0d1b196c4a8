#include "marking/results_record.h"

#include "marking/scoring_report.h"
#include "platform/richtext/codepages.h"
#include "platform/richtext/rich_text.h"

namespace keystride::marking {

std::string markedTestName(const std::string& typedTestName) {
    // Names are counted in characters, not bytes, so that "Tést.rtf" loses ".rtf".
    const std::u16string name = fromUtf8(typedTestName);
    const std::u16string stem = name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
    return toUtf8(stem) + ".rug";
}

std::string resultLine(const std::string& markedName, int wpmTenths) {
    return markedName + "  " + signedFormTenths(wpmTenths) + " wpm";
}

std::string resultRecordBytes(const std::string& line) {
    std::string bytes;
    for (char16_t c : fromUtf8(line)) {
        std::optional<std::uint8_t> code = encodeWindows1252(c);
        bytes += code ? static_cast<char>(*code) : '?';
    }
    return bytes + "\r\n";
}

} // namespace keystride::marking
