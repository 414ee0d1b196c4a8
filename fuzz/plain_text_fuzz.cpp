// Fuzz target for plain-text documents: any bytes that are not RTF decode without a crash, a
// hang or unbounded memory, load into the in-memory pane with every line end made a paragraph
// break, and survive a save and reload as RTF unchanged.
#include "platform/panes/memory_pane.h"
#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/text_loader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Reports the broken invariant's line, so a finding says what it broke.
void checkAt(bool condition, int line) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken at %s:%d\n", __FILE__, line);
    std::abort();
}
#define check(condition) checkAt((condition), __LINE__)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::u16string decoded = keystride::decodePlainText(bytes);
    // Every character comes from at least one byte (a surrogate pair from four), and NUL
    // characters never reach a pane.
    check(decoded.size() <= size);
    check(decoded.find(u'\0') == std::u16string::npos);

    if (keystride::looksLikeRtf(bytes))
        return 0; // the RTF reader's own target covers these
    keystride::MemoryPane pane;
    pane.setTextRtf(bytes);
    const std::u16string text = pane.text();
    // CR LF, a lone CR and a lone LF each become one paragraph break, shown as CR LF.
    check(text.size() <= 2 * decoded.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r')
            check(i + 1 < text.size() && text[i + 1] == u'\n');
        if (text[i] == u'\n')
            check(i > 0 && text[i - 1] == u'\r');
    }
    check(pane.readWarnings().empty());
    check(static_cast<int>(text.size()) == pane.textLength());

    // What the pane saves, it loads again as the same text. The one known exception: the reader
    // turns unpaired UTF-16 surrogates (which a UTF-16 text file may hold) into U+FFFD. Anything
    // else lost is a finding.
    keystride::MemoryPane reloaded;
    reloaded.setTextRtf(pane.textRtf());
    const std::u16string again = reloaded.text();
    std::u16string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF, low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            kept += c;
            kept += text[++i];
        } else if (high || low) {
            kept += u'\uFFFD';
        } else {
            kept += c;
        }
    }
    check(again == kept);
    return 0;
}
