// ConvertToRtf: word-processor documents become RTF beside themselves before a pane loads them.
// ".doc" goes through the word processor; ".docx" and ".odt" through the converter program
// Docx2Rtf, which converts every document of that kind in the folder at once.
#pragma once

#include "platform/desktop/converter.h"
#include "platform/desktop/ui_services.h"
#include "platform/desktop/word_processor.h"
#include "platform/files/file_system.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace keystride {

enum class ConversionKind { None, Doc, Docx, Odt };

// Chosen from the end of the path, without regard to case: ".doc", ".docx", ".odt".
ConversionKind conversionKindOf(const std::string& path);
// The path the pane loads: the ending of the kind replaced by ".rtf"; other paths unchanged.
std::string rtfPathFor(const std::string& path);
// The path up to and including its last "/" ("./" for a bare name): the folder Docx2Rtf is given.
std::string converterFolderOf(const std::string& path);
// The argument that names the kind for Docx2Rtf: "docx" or "odt".
const char* converterKindArgument(ConversionKind kind);

struct ConversionOutcome {
    ConversionKind kind = ConversionKind::None;
    std::string path; // the path to load
    FileResult error; // the conversion failed (the path is still the one to load)
};

class DocumentConverter {
public:
    // `fallbackFolder`: where Docx2Rtf is looked for when it is not on the PATH (the folder of
    // the running program, so that a program run from its build folder finds its converter).
    DocumentConverter(ProcessLauncher& processes, FileSystem& files, WordProcessor& wordProcessor,
                      std::string fallbackFolder,
                      std::chrono::milliseconds timeout = std::chrono::seconds(300));

    ConversionOutcome ConvertToRtf(const std::string& path);

    // The converter's full path, or nullopt when it is neither on the PATH nor in the fallback
    // folder.
    std::optional<std::string> converterPath() const;

    // Runs around a conversion that makes the user wait (the window's busy indication).
    void setBusyIndicator(std::function<void(bool)> indicator) { m_busy = std::move(indicator); }

private:
    FileResult runConverter(const std::string& path, ConversionKind kind);

    ProcessLauncher& m_processes;
    FileSystem& m_files;
    WordProcessor& m_wordProcessor;
    std::string m_fallbackFolder;
    std::chrono::milliseconds m_timeout;
    std::function<void(bool)> m_busy;
};

} // namespace keystride
