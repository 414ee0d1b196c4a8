#include "platform/desktop/libreoffice.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace keystride {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name LibreOffice gives its output: the input's name without its last extension, + ".rtf".
std::string convertedName(const std::string& docPath) {
    std::string name = fileNameOf(docPath);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name + ".rtf";
}

std::filesystem::file_time_type modifiedTime(const std::string& path) {
    std::error_code ec;
    auto time = std::filesystem::last_write_time(path, ec);
    return ec ? std::filesystem::file_time_type::min() : time;
}

std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(now % 1000000007);
}

} // namespace

std::string libreOfficeProfileUrl() {
    if (const char* folder = std::getenv("KEYSTRIDE_OFFICE_PROFILE"); folder && *folder)
        return std::string("file://") + folder;
    return "file:///tmp/keystride-lo-" + std::to_string(::getuid());
}

std::optional<std::string> findLibreOffice(const ProcessLauncher& launcher) {
    if (auto found = launcher.findProgram("soffice"))
        return found;
    return launcher.findProgram("libreoffice");
}

LibreOfficeWordProcessor::LibreOfficeWordProcessor(ProcessLauncher& launcher, FileSystem& files,
                                                   std::chrono::milliseconds timeout)
    : m_launcher(launcher), m_files(files), m_timeout(timeout) {}

FileResult LibreOfficeWordProcessor::convertToRtf(const std::string& docPath,
                                                  const std::string& rtfPath) {
    if (!m_files.exists(docPath))
        return FileError{errorcodes::FileNotFound, "File not found: \"" + docPath + "\""};

    // A folder that takes no new file would only show after the conversion ran its course;
    // finding out first gives the write-protected message at once.
    const std::string folder = folderOf(rtfPath);
    const std::string probe = folder + "/.keystride-probe-" + uniqueSuffix();
    if (FileResult error = m_files.writeAtomic(probe, "")) {
        error->description = "The folder \"" + folder + "\" of \"" + docPath +
                             "\" takes no new file: " + error->description;
        return error;
    }
    (void)m_files.remove(probe);

    const std::optional<std::string> soffice = findLibreOffice(m_launcher);
    if (!soffice)
        return FileError{
            errorcodes::CannotStartWordProcessor,
            "The word processor LibreOffice (soffice) was not found on the PATH, so \"" + docPath +
                "\" cannot be converted to RTF. Install LibreOffice Writer, or save "
                "the document as RTF."};

    const std::string produced = folder + "/" + convertedName(docPath);
    const auto before = modifiedTime(produced);
    const ProcessOutcome outcome =
        m_launcher.run(*soffice,
                       {"--headless", "-env:UserInstallation=" + libreOfficeProfileUrl(),
                        "--convert-to", "rtf", "--outdir", folder, docPath},
                       m_timeout);
    if (!outcome.started)
        return FileError{errorcodes::CannotStartWordProcessor,
                         "The word processor " + *soffice + " could not be started to convert \"" +
                             docPath + "\"."};
    if (!outcome.finished)
        return FileError{errorcodes::WordProcessorFailed,
                         "The word processor took longer than " +
                             std::to_string(m_timeout.count() / 1000) + " seconds to convert \"" +
                             docPath + "\" and was stopped."};
    // LibreOffice reports many failures with exit status 0: only a new file counts.
    if (outcome.exitCode != 0 || !m_files.exists(produced) || modifiedTime(produced) == before) {
        std::string said = outputTail(outcome.output);
        return FileError{errorcodes::WordProcessorFailed,
                         "The word processor could not convert \"" + docPath + "\" to RTF" +
                             (said.empty() ? std::string(".") : ": " + said)};
    }
    if (produced != rtfPath) {
        std::error_code ec;
        std::filesystem::rename(produced, rtfPath, ec);
        if (ec)
            return fileErrorFromErrno(ec.value(), rtfPath, FileOperation::Write);
    }
    return std::nullopt;
}

FileResult LibreOfficeWordProcessor::newDocumentFromRtf(std::string_view rtf,
                                                        int leftMarginPoints) {
    const std::optional<std::string> soffice = findLibreOffice(m_launcher);
    if (!soffice)
        return FileError{errorcodes::CannotStartWordProcessor,
                         "The word processor LibreOffice (soffice) was not found on the PATH."};
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec)
        temp = "/tmp";
    // Writer reads the file after this call has returned, so it stays; the temporary folder is
    // the system's to clear.
    const std::string file = (temp / ("keystride-export-" + uniqueSuffix() + ".rtf")).string();
    if (FileResult error = m_files.writeAtomic(file, rtfWithLeftMargin(rtf, leftMarginPoints * 20)))
        return error;
    m_lastExportFile = file;
    // "-n" opens the file as a template: a new, untitled document the user saves where he likes.
    if (!m_launcher.startDetached(*soffice, {"--writer", "-n", file}))
        return FileError{errorcodes::CannotStartWordProcessor,
                         "The word processor " + *soffice + " could not be started."};
    return std::nullopt;
}

} // namespace keystride
