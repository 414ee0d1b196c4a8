// keystride-doc: shows a document as the panes load it.
//
//   keystride-doc text FILE   the plain text (UTF-8, paragraph ends CR LF)
//   keystride-doc rtf FILE    the RTF markup the pane writes for it
//   keystride-doc runs FILE   the formatting as JSON runs over the plain text
//
// FILE loads exactly as the speed-test pane loads it: RTF keeps its formatting, anything else is
// plain text in the pane's base format ("Courier New" 12 pt, black).
#include "platform/files/file_system.h"
#include "platform/panes/memory_pane.h"
#include "platform/richtext/format_json.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int kUsageOrFileError = 2;

int usage(const char* problem) {
    std::fprintf(stderr,
                 "keystride-doc: %s\n"
                 "usage: keystride-doc text|rtf|runs FILE\n",
                 problem);
    return kUsageOrFileError;
}

bool writeOut(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

// The plain text as UTF-8, converted and written a piece at a time: a large document is not
// held a second time in another encoding.
bool writeText(std::u16string_view text) {
    constexpr std::size_t PieceUnits = std::size_t{1} << 16;
    std::string piece;
    piece.reserve(3 * PieceUnits + 3);
    while (!text.empty()) {
        std::size_t units = std::min(PieceUnits, text.size());
        // A surrogate pair is never cut in two.
        if (units < text.size() && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF)
            ++units;
        piece.clear();
        keystride::appendUtf8(piece, text.substr(0, units));
        if (std::fwrite(piece.data(), 1, piece.size(), stdout) != piece.size())
            return false;
        text.remove_prefix(units);
    }
    return std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace keystride;
    if (argc != 3)
        return usage("expected a mode and one file");
    const std::string_view mode = argv[1];
    if (mode != "text" && mode != "rtf" && mode != "runs")
        return usage(("unknown mode \"" + std::string(mode) + "\"").c_str());
    const std::string path = argv[2];

    CharFormat base;
    base.font = "Courier New";
    base.size = 12.0;
    base.colour = colours::black;
    MemoryPane pane(base, FileSystem::real());
    if (FileResult error = pane.loadFile(path)) {
        std::fprintf(stderr, "keystride-doc: cannot read \"%s\": error %d: %s\n", path.c_str(),
                     error->code, error->description.c_str());
        return kUsageOrFileError;
    }
    for (const std::string& warning : pane.readWarnings())
        std::fprintf(stderr, "keystride-doc: %s: %s\n", path.c_str(), warning.c_str());

    bool written = false;
    if (mode == "text")
        written = writeText(pane.textView());
    else if (mode == "rtf")
        written = writeOut(pane.textRtf());
    else
        written = writeOut(formatSpansJson(pane.formatSpans()) + "\n");
    if (!written) {
        std::perror("keystride-doc: writing the output");
        return 1;
    }
    return 0;
}
