#include "mark_command.h"

#include "platform/files/program_folder.h"
#include "results/class/class_csv.h"
#include "results/class/class_marking.h"
#include "results/class/class_report.h"
#include "results/run_json.h"

#include <filesystem>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace keystride {

namespace {

std::string printable(const std::u16string& text) {
    std::string out;
    for (char c : toUtf8(text)) {
        if (c != '\r')
            out += c;
    }
    return out;
}

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

void printRun(std::ostream& out, const classmarking::MarkedTest& test) {
    const marking::RunRecord& run = test.run;
    out << "== " << run.typedTest << "\n";
    for (const auto& [title, text] : run.messages)
        out << "[" << (title.empty() ? std::string("message") : title) << "] " << text << "\n";
    if (run.report)
        out << printable(*run.report).substr(1) << "\n";
    if (run.markedFile && test.written)
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

void printSummaries(std::ostream& out, const std::vector<classmarking::MarkedTest>& tests) {
    out << "\n"
        << std::left << std::setw(40) << "test" << std::right << std::setw(9) << "strokes"
        << std::setw(8) << "errors" << std::setw(8) << "WPM"
        << "\n";
    for (const classmarking::MarkedTest& test : tests) {
        const marking::RunRecord& run = test.run;
        out << std::left << std::setw(40) << run.typedTest << std::right << std::setw(9)
            << cell(run.strokeCount) << std::setw(8) << cell(run.errorCount) << std::setw(8)
            << cell(run.wpm()) << "\n";
    }
}

classmarking::ClassMarkingOptions classOptions(const MarkOptions& options,
                                               const std::string& programFolder,
                                               SettingsStore settings,
                                               std::vector<std::string> tests) {
    classmarking::ClassMarkingOptions out;
    out.source = options.source;
    out.tests = std::move(tests);
    out.settings = std::move(settings);
    out.fontMarking =
        options.fontMarking
            ? *options.fontMarking
            : markingFontsInstalled(FileSystem::real(), markingFontFolders(programFolder));
    out.cutOff = options.cutOff;
    out.lineSpacing = options.lineSpacing;
    out.writeOutputs =
        options.noWrite ? classmarking::WriteOutputs::No : classmarking::WriteOutputs::Yes;
    out.state = options.session ? classmarking::StateMode::Session : classmarking::StateMode::Fresh;
    out.jobs = options.jobs;
    out.converterFolder = options.converterFolder.empty() ? programFolder : options.converterFolder;
    return out;
}

// The spreadsheet and the report the options ask for; false after writing why one failed.
bool writeClassOutputs(const MarkOptions& options,
                       const std::vector<classmarking::MarkedTest>& tests, std::ostream& err) {
    bool written = true;
    if (options.csvPath) {
        if (FileResult error =
                classmarking::writeClassCsv(FileSystem::real(), *options.csvPath, tests)) {
            err << "keystride-mark: cannot write the spreadsheet " << *options.csvPath << ": "
                << error->description << "\n";
            written = false;
        }
    }
    if (options.reportFolder) {
        if (FileResult error = classmarking::writeClassReport(
                FileSystem::real(), *options.reportFolder, tests, options.source)) {
            err << "keystride-mark: cannot write the report into " << *options.reportFolder << ": "
                << error->description << "\n";
            written = false;
        }
    }
    return written;
}

} // namespace

int runMarkCommand(const MarkOptions& options, const std::string& programFolder, std::ostream& out,
                   std::ostream& err) {
    std::optional<SettingsStore> settings = readSettings(options, programFolder, err);
    if (!settings)
        return 2;
    const classmarking::TestList list = classmarking::listTests(options.typed);
    bool unreadable = !list.problems.empty();
    for (const std::string& problem : list.problems)
        err << "keystride-mark: " << problem << "\n";
    bool endedWithMessage = false;
    // Each test is printed as soon as it and the tests before it are marked.
    const auto printTest = [&](int, const classmarking::MarkedTest& test) {
        if (!test.opened()) {
            err << "keystride-mark: " << test.problem << "\n";
            unreadable = true;
        } else if (!test.run.completed || test.diskFailed) {
            endedWithMessage = true;
        }
        if (options.json)
            out << runRecordJson(test.run) << "\n";
        else if (test.opened())
            printRun(out, test);
    };
    const classmarking::ClassMarking marked = classmarking::markClass(
        classOptions(options, programFolder, *settings, list.tests), printTest);
    if (!marked.sourceProblem.empty()) {
        err << "keystride-mark: " << marked.sourceProblem << "\n";
        return 2;
    }
    std::vector<classmarking::MarkedTest> opened;
    std::copy_if(marked.tests.begin(), marked.tests.end(), std::back_inserter(opened),
                 [](const classmarking::MarkedTest& test) { return test.opened(); });
    if (!options.json && opened.size() > 1)
        printSummaries(out, opened);
    if (!writeClassOutputs(options, marked.tests, err))
        return 2;
    if (unreadable)
        return 2;
    return endedWithMessage ? 1 : 0;
}

} // namespace keystride
