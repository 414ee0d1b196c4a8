// The word processor on Linux: LibreOffice. Conversions run it headless with a profile of its
// own, so that they work beside a LibreOffice the user has open (and as any user); the export
// opens the document in the user's own Writer as a new, untitled document.
#pragma once

#include "platform/desktop/ui_services.h"
#include "platform/desktop/word_processor.h"
#include "platform/files/file_system.h"

#include <chrono>
#include <optional>
#include <string>

namespace keystride {

// The profile folder headless conversions use, as a file URL: the folder named by the
// environment variable KEYSTRIDE_OFFICE_PROFILE when set, else /tmp/keystride-lo-<uid>.
std::string libreOfficeProfileUrl();

// LibreOffice's program as `launcher` finds it on the PATH ("soffice", then "libreoffice").
std::optional<std::string> findLibreOffice(const ProcessLauncher& launcher);

class LibreOfficeWordProcessor final : public WordProcessor {
public:
    explicit LibreOfficeWordProcessor(
        ProcessLauncher& launcher, FileSystem& files = FileSystem::real(),
        std::chrono::milliseconds timeout = std::chrono::seconds(120));

    FileResult convertToRtf(const std::string& docPath, const std::string& rtfPath) override;
    FileResult newDocumentFromRtf(std::string_view rtf, int leftMarginPoints = 70) override;

    // The file the last export handed to Writer (kept: Writer reads it after the call returns).
    const std::string& lastExportFile() const { return m_lastExportFile; }

private:
    ProcessLauncher& m_launcher;
    FileSystem& m_files;
    std::chrono::milliseconds m_timeout;
    std::string m_lastExportFile;
};

} // namespace keystride
