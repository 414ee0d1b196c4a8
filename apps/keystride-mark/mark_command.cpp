#include "mark_command.h"

#include "headless_host.h"
#include "run_json.h"

#include "documents/conversion.h"
#include "documents/line_spacing.h"
#include "marking/marking_run.h"
#include "platform/desktop/libreoffice.h"
#include "platform/desktop/posix_process_launcher.h"
#include "platform/files/program_folder.h"
#include "platform/panes/memory_pane.h"
#include "results/error_box.h"
#include "workspace/workspace_commands.h"

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

    // The path to load, or nullopt after writing why the document cannot be marked.
    std::optional<std::string> prepare(const std::string& path, const char* role,
                                       std::ostream& err) {
        const ConversionKind kind = conversionKindOf(path);
        if (kind == ConversionKind::None)
            return path;
        const std::string key = converterFolderOf(path) + "|" + converterKindArgument(kind);
        if ((kind == ConversionKind::Docx || kind == ConversionKind::Odt) && m_done.count(key))
            return rtfPathFor(path);
        const ConversionOutcome outcome = m_converter.ConvertToRtf(path);
        if (outcome.error) {
            err << "keystride-mark: cannot convert the " << role << " " << path
                << " to RTF: " << outcome.error->description << "\n";
            return std::nullopt;
        }
        if (kind != ConversionKind::Doc)
            m_done.insert(key);
        return outcome.path;
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
            options.lineSpacing = n;
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
    FileSystem& disk = FileSystem::real();
    NoWriteFileSystem noWrite(disk);
    FileSystem& files = options.noWrite ? static_cast<FileSystem&>(noWrite) : disk;

    SettingsStore settings;
    const std::string settingsPath =
        options.settingsPath ? *options.settingsPath : joinPath(programFolder, SettingsFileName);
    if (options.settingsPath) {
        ReadResult read = disk.readAll(settingsPath, 64 * 1024);
        if (read.error) {
            err << "keystride-mark: cannot read the settings file " << settingsPath << ": "
                << read.error->description << "\n";
            return 2;
        }
        settings = parseSettings(read.bytes);
    } else {
        settings = loadSettings(disk, settingsPath);
    }

    MemoryPane typed(CharFormat{"Courier New", 12.0}, files);
    MemoryPane source(CharFormat{"Courier New", 9.75}, files);
    // Conversions write .rtf files even with --no-write: they are the documents' other form,
    // not results.
    MarkConversions conversions(disk, options.converterFolder.empty() ? programFolder
                                                                      : options.converterFolder);
    const std::optional<std::string> sourcePath =
        conversions.prepare(options.source, "source document", err);
    if (!sourcePath)
        return 2;
    if (FileResult error = source.loadFile(*sourcePath)) {
        err << "keystride-mark: cannot open the source document " << options.source << ": "
            << error->description << "\n";
        return 2;
    }

    HeadlessHost host;
    HeadlessView& window = host.view;
    window.setLabel4(*sourcePath);
    marking::WorkspaceState state;
    state.FontMarking = options.fontMarking
                            ? *options.fontMarking
                            : markingFontsInstalled(files, markingFontFolders(programFolder));
    WorkspaceContext context{typed,      source,         state,        settings,
                             window,     host.messages,  host.dialogs, host.printing,
                             host.clock, host.processes, files,        programFolder};
    WorkspaceCommands commands(context);
    marking::MarkingEngine engine({typed, source, settings, state, window, files});

    bool unreadable = false;
    bool endedWithMessage = false;
    std::vector<Summary> summaries;
    for (const std::string& chosen : expandTyped(options.typed, err, unreadable)) {
        // Opening a speed test, as the open command does.
        if (!source.text().empty())
            commands.ClearSourceMarks();
        typed.setText(u"");
        const std::optional<std::string> converted = conversions.prepare(chosen, "speed test", err);
        if (!converted) {
            unreadable = true;
            continue;
        }
        const std::string& path = *converted;
        state.CurrentFileName = path;
        if (FileResult error = typed.loadFile(path)) {
            err << "keystride-mark: cannot open the speed test " << path << ": "
                << error->description << "\n";
            unreadable = true;
            continue;
        }
        PaneReset(typed);
        window.setLabel3(path);
        typed.setChanged(false);
        KykvirSpasiering(context);
        if (options.lineSpacing)
            state.LineSpacingMode = *options.lineSpacing;

        const bool wasWriteProtected = state.WriteProtected;
        if (options.cutOff) {
            source.setSelStart(*options.cutOff);
            state.CutOffPending = true;
            engine.SourcePaneClicked();
        } else {
            engine.StartMarkingRun();
        }
        const marking::RunRecord& run = engine.lastRun();
        if (!run.completed || state.WriteProtected != wasWriteProtected)
            endedWithMessage = true;
        summaries.push_back({path, run.strokeCount, run.errorCount, run.wpm});

        if (options.json) {
            out << runRecordJson(run, typed.text(), typed.formatSpans()) << "\n";
            continue;
        }
        out << "== " << path << "\n";
        for (const auto& [title, text] : run.messages)
            out << "[" << (title.empty() ? std::string("message") : title) << "] " << text << "\n";
        if (run.report)
            out << printable(*run.report).substr(1) << "\n";
        if (run.markedFile && run.completed && !options.noWrite && !state.WriteProtected)
            out << "marked test: " << *run.markedFile << "\n";
    }

    if (!options.json && summaries.size() > 1) {
        out << "\n"
            << std::left << std::setw(40) << "test" << std::right << std::setw(9) << "strokes"
            << std::setw(8) << "errors" << std::setw(8) << "WPM"
            << "\n";
        for (const Summary& s : summaries) {
            auto cell = [](const auto& v) {
                std::ostringstream o;
                if (v)
                    o << *v;
                else
                    o << "-";
                return o.str();
            };
            out << std::left << std::setw(40) << s.name << std::right << std::setw(9)
                << cell(s.strokes) << std::setw(8) << cell(s.errors) << std::setw(8) << cell(s.wpm)
                << "\n";
        }
    }
    if (unreadable)
        return 2;
    return endedWithMessage ? 1 : 0;
}

} // namespace keystride
