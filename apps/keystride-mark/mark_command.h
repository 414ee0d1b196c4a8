// keystride-mark: marks speed tests against a source document without a window, exactly as the
// window's marking run does.
#pragma once

#include "platform/richtext/rich_text.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace keystride {

struct MarkOptions {
    std::string source;
    std::vector<std::string> typed; // files or folders, as given
    std::optional<std::string> settingsPath;
    std::optional<int> cutOff;
    std::optional<LineSpacing> lineSpacing;
    std::optional<bool> fontMarking;
    bool noWrite = false;
    bool json = false;
    // The tests in order on one marking state, as the window marks one after another; else each
    // on a state of its own.
    bool session = false;
    // The class's marks as a spreadsheet, and as an HTML report in this folder.
    std::optional<std::string> csvPath;
    std::optional<std::string> reportFolder;
    // Threads marking at once (each test on a state of its own); 0: one per core.
    int jobs = 0;
    // Where Docx2Rtf is looked for when it is not on the PATH (the program's own folder); the
    // program folder when empty.
    std::string converterFolder;
};

// Exit status: 0 every test marked, 1 a run ended with a message, 2 bad usage, an unreadable
// file or a spreadsheet or report that could not be written.
int runMarkCommand(const MarkOptions& options, const std::string& programFolder, std::ostream& out,
                   std::ostream& err);

// Parses the command line; on bad usage returns nullopt and writes the reason to `err`.
std::optional<MarkOptions> parseMarkArguments(const std::vector<std::string>& args,
                                              std::ostream& err);

extern const char* const MarkUsage;

} // namespace keystride
