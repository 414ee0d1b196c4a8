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
    // Where Docx2Rtf is looked for when it is not on the PATH (the program's own folder); the
    // program folder when empty.
    std::string converterFolder;
};

// Exit status: 0 every test marked, 1 a run ended with a message, 2 bad usage or an unreadable
// file.
int runMarkCommand(const MarkOptions& options, const std::string& programFolder, std::ostream& out,
                   std::ostream& err);

// Parses the command line; on bad usage returns nullopt and writes the reason to `err`.
std::optional<MarkOptions> parseMarkArguments(const std::vector<std::string>& args,
                                              std::ostream& err);

extern const char* const MarkUsage;

} // namespace keystride
