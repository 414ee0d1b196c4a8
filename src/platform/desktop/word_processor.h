// The word processor the workspace hands documents to: it turns ".doc" files into RTF for the open
// commands, and it takes the speed test as a new, untitled document for the export. The workspace
// keeps no link to it: every call starts and ends its own conversation with it.
#pragma once

#include "platform/files/file_error.h"

#include <string>
#include <string_view>

namespace keystride {

namespace errorcodes {
// The word processor could not be started (it is not installed, or refused to start).
inline constexpr int CannotStartWordProcessor = 429;
// It was started but did not do what it was asked (it failed, or ran past its time limit).
inline constexpr int WordProcessorFailed = 440;
} // namespace errorcodes

class WordProcessor {
public:
    virtual ~WordProcessor() = default;

    // Opens the document at `docPath`, saves it as RTF under `rtfPath` and closes it without
    // saving changes, leaving the word processor as it found it. Blocks until the RTF file is
    // written or the attempt failed.
    virtual FileResult convertToRtf(const std::string& docPath, const std::string& rtfPath) = 0;

    // Shows `rtf` as a new, untitled document whose left margin is `leftMarginPoints`, and
    // returns without waiting: the user carries on in the word processor.
    virtual FileResult newDocumentFromRtf(std::string_view rtf, int leftMarginPoints = 70) = 0;
};

// `rtf` with its document's left margin set to `twips` (\marglN): an existing \margl is
// replaced, otherwise the margin goes in front of the first paragraph of the body.
std::string rtfWithLeftMargin(std::string_view rtf, int twips);

} // namespace keystride
