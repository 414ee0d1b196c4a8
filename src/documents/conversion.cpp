#include "documents/conversion.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>

#include <unistd.h>

namespace keystride {

namespace {

bool endsWithNoCase(const std::string& text, std::string_view ending) {
    if (text.size() < ending.size())
        return false;
    return std::equal(ending.begin(), ending.end(), text.end() - ending.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

std::size_t endingLength(ConversionKind kind) {
    return kind == ConversionKind::Docx ? 5 : kind == ConversionKind::None ? 0 : 4;
}

// Removes the trailing "/" of a folder, but not of "/" itself.
std::string withoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

ConversionKind conversionKindOf(const std::string& path) {
    if (endsWithNoCase(path, ".docx"))
        return ConversionKind::Docx;
    if (endsWithNoCase(path, ".doc"))
        return ConversionKind::Doc;
    if (endsWithNoCase(path, ".odt"))
        return ConversionKind::Odt;
    return ConversionKind::None;
}

std::string rtfPathFor(const std::string& path) {
    const ConversionKind kind = conversionKindOf(path);
    if (kind == ConversionKind::None)
        return path;
    return path.substr(0, path.size() - endingLength(kind)) + ".rtf";
}

std::string converterFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return "./";
    return path.substr(0, slash + 1);
}

const char* converterKindArgument(ConversionKind kind) {
    return kind == ConversionKind::Odt ? "odt" : "docx";
}

DocumentConverter::DocumentConverter(ProcessLauncher& processes, FileSystem& files,
                                     WordProcessor& wordProcessor, std::string fallbackFolder,
                                     std::chrono::milliseconds timeout)
    : m_processes(processes), m_files(files), m_wordProcessor(wordProcessor),
      m_fallbackFolder(std::move(fallbackFolder)), m_timeout(timeout) {}

std::optional<std::string> DocumentConverter::converterPath() const {
    if (auto found = m_processes.findProgram(ConverterProgram))
        return found;
    if (m_fallbackFolder.empty())
        return std::nullopt;
    const std::string beside = withoutSlash(m_fallbackFolder) + "/" + ConverterProgram;
    if (m_files.exists(beside))
        return beside;
    return std::nullopt;
}

ConversionOutcome DocumentConverter::ConvertToRtf(const std::string& path) {
    ConversionOutcome outcome;
    outcome.kind = conversionKindOf(path);
    outcome.path = rtfPathFor(path);
    if (outcome.kind == ConversionKind::None)
        return outcome;
    if (m_busy)
        m_busy(true);
    if (outcome.kind == ConversionKind::Doc)
        outcome.error = m_wordProcessor.convertToRtf(path, outcome.path);
    else
        outcome.error = runConverter(path, outcome.kind);
    if (m_busy)
        m_busy(false);
    return outcome;
}

FileResult DocumentConverter::runConverter(const std::string& path, ConversionKind kind) {
    const std::string folder = converterFolderOf(path);
    if (!m_files.exists(path))
        return FileError{errorcodes::FileNotFound, "File not found: \"" + path + "\""};
    // The converter writes beside the document; a folder that takes no new file is a
    // write-protected disk, said at once instead of after the converter's run.
    static std::atomic<unsigned> counter{0};
    const std::string probe =
        folder + ".keystride-probe-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    if (FileResult error = m_files.writeAtomic(probe, "")) {
        error->description = "The folder \"" + folder + "\" of \"" + path +
                             "\" takes no new file: " + error->description;
        return error;
    }
    (void)m_files.remove(probe);

    const std::optional<std::string> converter = converterPath();
    if (!converter)
        return FileError{errorcodes::FileNotFound,
                         "The converter " + std::string(ConverterProgram) +
                             " was not found (it is installed beside Vela Keystride), so \"" +
                             path + "\" was not converted to RTF."};
    const ProcessOutcome run =
        m_processes.run(*converter, {"-f", folder, converterKindArgument(kind)}, m_timeout);
    if (!run.started)
        return FileError{errorcodes::CannotStartWordProcessor,
                         "The converter " + *converter + " could not be started."};
    if (!run.finished)
        return FileError{errorcodes::WordProcessorFailed,
                         "The converter " + std::string(ConverterProgram) + " took longer than " +
                             std::to_string(m_timeout.count() / 1000) +
                             " seconds for the folder \"" + folder + "\" and was stopped."};
    if (run.exitCode != 0) {
        const std::string said = outputTail(run.output);
        return FileError{errorcodes::WordProcessorFailed,
                         "The converter " + std::string(ConverterProgram) +
                             " could not convert the documents in \"" + folder + "\"" +
                             (said.empty() ? std::string(".") : ": " + said)};
    }
    return std::nullopt;
}

} // namespace keystride
