#include "mark_command.h"

#include "headless_host.h"

#include "documents/conversion.h"
#include "documents/open_speed_test.h"
#include "marking/marking_run.h"
#include "platform/desktop/libreoffice.h"
#include "platform/desktop/posix_process_launcher.h"
#include "platform/files/program_folder.h"
#include "platform/panes/memory_pane.h"
#include "results/run_json.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <set>
#include <sstream>

namespace keystride {

const char* const MarkUsage =
    "usage: keystride-mark [options] SOURCE TYPED...\n"
    "  Marks each speed test TYPED (a file, or a folder of .rtf, .txt, .doc, .docx and .odt\n"
    "  files) against the source document SOURCE, writes the marked test (.rug) and a line in\n"
    "  Resultaat.res. .doc, .docx and .odt files are first converted to .rtf beside themselves\n"
    "  (with LibreOffice and Docx2Rtf), as the window's open commands do.\n"
    "options:\n"
    "  --settings FILE        settings file (default: \"Settings\" beside the program)\n"
    "  --cut-off N            the compared source ends at caret position N (as a click)\n"
    "  --line-spacing 0|1|2   line spacing of the tests (default: detected from each test)\n"
    "  --marking font|colour  error marking (default: font when the marking fonts exist)\n"
    "  --no-write             write neither marked tests nor results\n"
    "  --json                 one JSON object per test on standard output\n";

namespace {

// Reads go to the disk; writes are accepted and dropped.
class NoWriteFileSystem final : public FileSystem {
public:
    explicit NoWriteFileSystem(FileSystem& inner) : m_inner(inner) {}
    bool exists(const std::string& path) const override { return m_inner.exists(path); }
    bool isFile(const std::string& path) const override { return m_inner.isFile(path); }
    ReadResult readAll(const std::string& path, std::size_t limit) const override {
        return m_inner.readAll(path, limit);
    }
    FileResult writeAtomic(const std::string&, std::string_view) override { return {}; }
    FileResult append(const std::string&, std::string_view) override { return {}; }
    FileResult remove(const std::string&) override { return {}; }

private:
    FileSystem& m_inner;
};

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool isDocumentFile(const std::string& extension) {
    return extension == ".rtf" || extension == ".txt" || extension == ".doc" ||
           extension == ".docx" || extension == ".odt";
}

// A folder stands for every .rtf, .txt, .doc, .docx and .odt file in it, sorted by name. A
// word-processor document and the .rtf of the same name are one speed test: the document is
// converted again over that .rtf, so only the document is listed.
std::vector<std::string> expandTyped(const std::vector<std::string>& typed, std::ostream& err,
                                     bool& unreadable) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const std::string& item : typed) {
        std::error_code ec;
        if (!fs::is_directory(item, ec)) {
            files.push_back(item);
            continue;
        }
        std::vector<std::string> inFolder;
        for (const auto& entry : fs::directory_iterator(item, ec)) {
            const std::string ext = lower(entry.path().extension().string());
            if (isDocumentFile(ext) && entry.is_regular_file(ec))
                inFolder.push_back(entry.path().string());
        }
        if (ec) {
            err << "keystride-mark: cannot read the folder " << item << ": " << ec.message()
                << "\n";
            unreadable = true;
        }
        std::set<std::string> converted;
        for (const std::string& file : inFolder) {
            if (conversionKindOf(file) != ConversionKind::None)
                converted.insert(rtfPathFor(file));
        }
        std::erase_if(inFolder, [&](const std::string& file) { return converted.count(file) > 0; });
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}

// Word-processor documents become .rtf files as the open commands make them. Docx2Rtf converts a
// whole folder at once, so each folder and kind is converted once per command.
class MarkConversions {
public:
    MarkConversions(FileSystem& files, const std::string& converterFolder)
        : m_office(m_launcher, files), m_converter(m_launcher, files, m_office, converterFolder) {}

    // ConvertToRtf, once per folder and kind for Docx2Rtf.
    ConversionOutcome convert(const std::string& path) {
        const ConversionKind kind = conversionKindOf(path);
        const std::string key = converterFolderOf(path) + "|" + converterKindArgument(kind);
        if ((kind == ConversionKind::Docx || kind == ConversionKind::Odt) && m_done.count(key))
            return {kind, rtfPathFor(path), std::nullopt};
        ConversionOutcome outcome = m_converter.ConvertToRtf(path);
        if (!outcome.error && kind != ConversionKind::Doc && kind != ConversionKind::None)
            m_done.insert(key);
        return outcome;
    }

private:
    PosixProcessLauncher m_launcher;
    LibreOfficeWordProcessor m_office;
    DocumentConverter m_converter;
    std::set<std::string> m_done;
};

std::string printable(const std::u16string& text) {
    std::string out;
    for (char c : toUtf8(text)) {
        if (c != '\r')
            out += c;
    }
    return out;
}

struct Summary {
    std::string name;
    std::optional<int> strokes;
    std::optional<int> errors;
    std::optional<double> wpm;
};

// The settings file the options name (which must be readable), else the one beside the
// program (whose absence gives the initial state); nullopt after writing why.
std::optional<SettingsStore> readSettings(const MarkOptions& options,
                                          const std::string& programFolder, std::ostream& err) {
    FileSystem& disk = FileSystem::real();
    if (!options.settingsPath)
        return loadSettings(disk,
                            (std::filesystem::path(programFolder) / SettingsFileName).string());
    ReadResult read = disk.readAll(*options.settingsPath, 64 * 1024);
    if (read.error) {
        err << "keystride-mark: cannot read the settings file " << *options.settingsPath << ": "
            << read.error->description << "\n";
        return std::nullopt;
    }
    return parseSettings(read.bytes);
}

// The workspace of one command: both panes, the global state and one marking engine, so that
// the tests are marked one after another as the window marks them.
class MarkSession {
public:
    MarkSession(const MarkOptions& options, const std::string& programFolder,
                const SettingsStore& settings)
        : m_options(options), m_settings(settings),
          m_files(options.noWrite ? static_cast<FileSystem&>(m_noWrite) : FileSystem::real()),
          // Conversions write .rtf files even with --no-write: they are the documents' other
          // form, not results.
          m_conversions(FileSystem::real(),
                        options.converterFolder.empty() ? programFolder : options.converterFolder),
          m_engine({m_typed, m_source, m_settings, state, m_host, m_files}) {
        state.FontMarking = options.fontMarking
                                ? *options.fontMarking
                                : markingFontsInstalled(FileSystem::real(),
                                                        markingFontFolders(programFolder));
    }

    bool openSource(std::ostream& err) {
        const std::string& path = m_options.source;
        const ConversionOutcome conversion = m_conversions.convert(path);
        FileResult error = conversion.error ? conversion.error : m_source.loadFile(conversion.path);
        if (error)
            err << "keystride-mark: cannot " << (conversion.error ? "convert" : "open")
                << " the source document " << path << (conversion.error ? " to RTF" : "") << ": "
                << error->description << "\n";
        return !error;
    }

    // Opens a speed test as the window's open command does; the path loaded, or nullopt after
    // writing why the test cannot be marked.
    std::optional<std::string> openTest(const std::string& chosen, std::ostream& err) {
        const OpenedSpeedTest opened = openSpeedTest(
            {m_typed, m_source}, state, m_host, [&] { return chosen; },
            [this](const std::string& path) { return m_conversions.convert(path); });
        if (opened.conversionError || opened.loadError) {
            err << "keystride-mark: cannot "
                << (opened.conversionError ? "convert the speed test " + chosen + " to RTF"
                                           : "open the speed test " + state.CurrentFileName)
                << ": "
                << (opened.conversionError ? opened.conversionError : opened.loadError)->description
                << "\n";
            return std::nullopt;
        }
        if (m_options.lineSpacing)
            state.setLineSpacing(*m_options.lineSpacing);
        return state.CurrentFileName;
    }

    const marking::RunRecord& mark() {
        return m_options.cutOff ? m_engine.StartMarkingRunWithCutOff(*m_options.cutOff)
                                : m_engine.StartMarkingRun();
    }

    marking::WorkspaceState state;

private:
    const MarkOptions& m_options;
    SettingsStore m_settings;
    NoWriteFileSystem m_noWrite{FileSystem::real()};
    FileSystem& m_files;
    MemoryPane m_typed{CharFormat{"Courier New", 12.0}, m_files};
    MemoryPane m_source{CharFormat{"Courier New", 9.75}, m_files};
    MarkConversions m_conversions;
    HeadlessHost m_host;
    marking::MarkingEngine m_engine;
};

void printRun(std::ostream& out, const std::string& path, const marking::RunRecord& run,
              bool nothingWritten) {
    out << "== " << path << "\n";
    for (const auto& [title, text] : run.messages)
        out << "[" << (title.empty() ? std::string("message") : title) << "] " << text << "\n";
    if (run.report)
        out << printable(*run.report).substr(1) << "\n";
    if (run.markedFile && run.completed && !nothingWritten)
        out << "marked test: " << *run.markedFile << "\n";
}

template <typename T> std::string cell(const std::optional<T>& value) {
    std::ostringstream o;
    if (value)
        o << *value;
    else
        o << "-";
    return o.str();
}

void printSummaries(std::ostream& out, const std::vector<Summary>& summaries) {
    out << "\n"
        << std::left << std::setw(40) << "test" << std::right << std::setw(9) << "strokes"
        << std::setw(8) << "errors" << std::setw(8) << "WPM"
        << "\n";
    for (const Summary& s : summaries)
        out << std::left << std::setw(40) << s.name << std::right << std::setw(9) << cell(s.strokes)
            << std::setw(8) << cell(s.errors) << std::setw(8) << cell(s.wpm) << "\n";
}

} // namespace

std::optional<MarkOptions> parseMarkArguments(const std::vector<std::string>& args,
                                              std::ostream& err) {
    MarkOptions options;
    std::vector<std::string> positional;
    auto value = [&](std::size_t& i) -> std::optional<std::string> {
        if (i + 1 >= args.size()) {
            err << "keystride-mark: " << args[i] << " needs a value\n";
            return std::nullopt;
        }
        return args[++i];
    };
    auto number = [&](const std::string& option, const std::string& text, int low,
                      int high) -> std::optional<int> {
        try {
            std::size_t used = 0;
            const long n = std::stol(text, &used);
            if (used == text.size() && n >= low && n <= high)
                return static_cast<int>(n);
        } catch (const std::exception&) {
        }
        err << "keystride-mark: " << option << " takes a number from " << low << " to " << high
            << ", not \"" << text << "\"\n";
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--settings") {
            auto v = value(i);
            if (!v)
                return std::nullopt;
            options.settingsPath = *v;
        } else if (a == "--cut-off") {
            auto v = value(i);
            auto n = v ? number(a, *v, 0, 32767) : std::nullopt;
            if (!n)
                return std::nullopt;
            options.cutOff = n;
        } else if (a == "--line-spacing") {
            auto v = value(i);
            auto n = v ? number(a, *v, 0, 2) : std::nullopt;
            if (!n)
                return std::nullopt;
            options.lineSpacing = static_cast<LineSpacing>(*n);
        } else if (a == "--marking") {
            auto v = value(i);
            if (!v)
                return std::nullopt;
            if (*v == "font") {
                options.fontMarking = true;
            } else if (*v == "colour" || *v == "color") {
                options.fontMarking = false;
            } else {
                err << "keystride-mark: --marking takes font or colour, not \"" << *v << "\"\n";
                return std::nullopt;
            }
        } else if (a == "--no-write") {
            options.noWrite = true;
        } else if (a == "--json") {
            options.json = true;
        } else if (a == "--help" || a == "-h") {
            err << MarkUsage;
            return std::nullopt;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            err << "keystride-mark: unknown option " << a << "\n";
            return std::nullopt;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() < 2) {
        err << "keystride-mark: give a source document and at least one speed test\n";
        return std::nullopt;
    }
    options.source = positional.front();
    options.typed.assign(positional.begin() + 1, positional.end());
    return options;
}

int runMarkCommand(const MarkOptions& options, const std::string& programFolder, std::ostream& out,
                   std::ostream& err) {
    std::optional<SettingsStore> settings = readSettings(options, programFolder, err);
    if (!settings)
        return 2;
    MarkSession session(options, programFolder, *settings);
    if (!session.openSource(err))
        return 2;
    bool unreadable = false;
    bool endedWithMessage = false;
    std::vector<Summary> summaries;
    for (const std::string& chosen : expandTyped(options.typed, err, unreadable)) {
        const std::optional<std::string> path = session.openTest(chosen, err);
        if (!path) {
            unreadable = true;
            continue;
        }
        const bool wasWriteProtected = session.state.WriteProtected;
        const marking::RunRecord& run = session.mark();
        if (!run.completed || session.state.WriteProtected != wasWriteProtected)
            endedWithMessage = true;
        summaries.push_back({*path, run.strokeCount, run.errorCount, run.wpm()});
        if (options.json)
            out << runRecordJson(run) << "\n";
        else
            printRun(out, *path, run, options.noWrite || session.state.WriteProtected);
    }
    if (!options.json && summaries.size() > 1)
        printSummaries(out, summaries);
    if (unreadable)
        return 2;
    return endedWithMessage ? 1 : 0;
}

} // namespace keystride
