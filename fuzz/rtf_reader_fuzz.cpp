// Fuzz target for the RTF reader: any bytes must read without a crash, a hang or unbounded
// memory, and the document must keep the model's invariants.
#include "platform/rtf/rtf_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)keystride::looksLikeRtf(bytes);
    const keystride::CharFormat base;
    const keystride::RtfReadResult result = keystride::readRtf(bytes, base);
    const keystride::RichDocument& document = result.document;

    check(!document.paragraphs.empty());
    for (const keystride::Paragraph& paragraph : document.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const keystride::TextRun& run = paragraph.runs[i];
            check(!run.text.empty());
            check(run.text.find_first_of(u"\r\n") == std::u16string::npos);
            check(i == 0 || !(paragraph.runs[i - 1].format == run.format));
            check(run.format.size > 0);
        }
    }
    // Every character comes from at least one input byte, except the two of a paragraph break
    // written as backslash-newline and the surrogate pairs of 4-byte UTF-8.
    check(document.plainText().size() <= 2 * size + 2);
    return 0;
}
