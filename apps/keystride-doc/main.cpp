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

bool writeBytes(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
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
    if (mode == "text") // a piece at a time: a large text is not held twice
        written = writeUtf8Pieces(pane.textView(), writeBytes);
    else if (mode == "rtf")
        written = writeBytes(pane.textRtf());
    else
        written = writeBytes(jsonText(formatSpansJson(pane.formatSpans())) + "\n");
    if (!written || std::fflush(stdout) != 0) {
        std::perror("keystride-doc: writing the output");
        return 1;
    }
    return 0;
}
