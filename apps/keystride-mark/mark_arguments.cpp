// The command line of keystride-mark.
#include "mark_command.h"

#include <algorithm>
#include <functional>
#include <ostream>

namespace keystride {

const char* const MarkUsage =
    "usage: keystride-mark [options] SOURCE TYPED...\n"
    "  Marks each speed test TYPED (a file, or a folder of .rtf, .txt, .doc, .docx and .odt\n"
    "  files) against the source document SOURCE, writes the marked test (.rug) and a line in\n"
    "  Resultaat.res. .doc, .docx and .odt files are first converted to .rtf beside themselves\n"
    "  (with LibreOffice and Docx2Rtf), as the window's open commands do. Each test is marked\n"
    "  as the window marks a test it opens right after starting.\n"
    "options:\n"
    "  --settings FILE        settings file (default: \"Settings\" beside the program)\n"
    "  --cut-off N            the compared source ends at caret position N (as a click)\n"
    "  --line-spacing 0|1|2   line spacing of the tests (default: detected from each test)\n"
    "  --marking font|colour  error marking (default: font when the marking fonts exist)\n"
    "  --no-write             write neither marked tests nor results\n"
    "  --json                 one JSON object per test on standard output\n"
    "  --session              mark the tests in order on one state, as the window marks one\n"
    "                         test after another\n"
    "  --jobs N               mark N tests at once (default: one per core)\n"
    "  --csv FILE             the marks of every test as a spreadsheet (CSV)\n"
    "  --report FOLDER        an HTML report: the class page index.html and a page per test\n"
    "                         that explains every mark\n";

namespace {

struct Parser {
    std::ostream& err;

    std::optional<int> number(const std::string& option, const std::string& text, int low,
                              int high) const {
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
    }

    bool marking(MarkOptions& options, const std::string& value) const {
        if (value == "font" || value == "colour" || value == "color") {
            options.fontMarking = value == "font";
            return true;
        }
        err << "keystride-mark: --marking takes font or colour, not \"" << value << "\"\n";
        return false;
    }
};

using Apply = std::function<bool(MarkOptions&, const std::string& value, const Parser&)>;

// Options with a value, and what each does with it.
const std::vector<std::pair<std::string, Apply>>& valueOptions() {
    static const std::vector<std::pair<std::string, Apply>> options = {
        {"--settings",
         [](MarkOptions& o, const std::string& v, const Parser&) {
             o.settingsPath = v;
             return true;
         }},
        {"--cut-off",
         [](MarkOptions& o, const std::string& v, const Parser& p) {
             o.cutOff = p.number("--cut-off", v, 0, 32767);
             return o.cutOff.has_value();
         }},
        {"--line-spacing",
         [](MarkOptions& o, const std::string& v, const Parser& p) {
             const std::optional<int> n = p.number("--line-spacing", v, 0, 2);
             if (n)
                 o.lineSpacing = static_cast<LineSpacing>(*n);
             return n.has_value();
         }},
        {"--marking",
         [](MarkOptions& o, const std::string& v, const Parser& p) { return p.marking(o, v); }},
        {"--csv",
         [](MarkOptions& o, const std::string& v, const Parser&) {
             o.csvPath = v;
             return true;
         }},
        {"--report",
         [](MarkOptions& o, const std::string& v, const Parser&) {
             o.reportFolder = v;
             return true;
         }},
        {"--jobs",
         [](MarkOptions& o, const std::string& v, const Parser& p) {
             const std::optional<int> n = p.number("--jobs", v, 1, 256);
             o.jobs = n.value_or(0);
             return n.has_value();
         }},
    };
    return options;
}

// Options without a value.
bool applyFlag(MarkOptions& options, const std::string& flag) {
    if (flag == "--no-write")
        options.noWrite = true;
    else if (flag == "--json")
        options.json = true;
    else if (flag == "--session")
        options.session = true;
    else
        return false;
    return true;
}

} // namespace

std::optional<MarkOptions> parseMarkArguments(const std::vector<std::string>& args,
                                              std::ostream& err) {
    const Parser parser{err};
    MarkOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto& table = valueOptions();
        const auto withValue = std::find_if(table.begin(), table.end(),
                                            [&](const auto& entry) { return entry.first == a; });
        if (withValue != table.end()) {
            if (i + 1 >= args.size()) {
                err << "keystride-mark: " << a << " needs a value\n";
                return std::nullopt;
            }
            if (!withValue->second(options, args[++i], parser))
                return std::nullopt;
        } else if (a == "--help" || a == "-h") {
            err << MarkUsage;
            return std::nullopt;
        } else if (applyFlag(options, a)) {
            continue;
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

} // namespace keystride
