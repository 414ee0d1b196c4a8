#include "docx2rtf.h"

#include "platform/desktop/libreoffice.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

namespace keystride::docx2rtf {

namespace fs = std::filesystem;

const char* const Usage =
    "usage: Docx2Rtf -f FOLDER docx|odt [-t SECONDS]\n"
    "  Converts every .docx (or .odt) document in FOLDER to an .rtf file beside it, with\n"
    "  LibreOffice (soffice) found on the PATH. -t: time limit of the conversion (default 240).\n"
    "exit status: 0 converted, 2 bad usage, 3 no such folder, 4 LibreOffice missing,\n"
    "  5 conversion failed, 6 time limit reached\n";

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

fs::file_time_type modified(const fs::path& path) {
    std::error_code ec;
    const auto time = fs::last_write_time(path, ec);
    return ec ? fs::file_time_type::min() : time;
}

std::string lastLines(const std::string& output) {
    std::string text = output;
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    if (text.size() > 600)
        text = "..." + text.substr(text.size() - 600);
    return text;
}

} // namespace

std::optional<Options> parseArguments(const std::vector<std::string>& args, std::ostream& err) {
    Options options;
    bool haveFolder = false;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-f" || arg == "-t") {
            if (i + 1 >= args.size()) {
                err << "Docx2Rtf: " << arg << " needs a value\n";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "-f") {
                options.folder = value;
                haveFolder = true;
                continue;
            }
            try {
                std::size_t used = 0;
                const long seconds = std::stol(value, &used);
                if (used != value.size() || seconds < 1 || seconds > 86400)
                    throw std::out_of_range(value);
                options.timeout = std::chrono::seconds(seconds);
            } catch (const std::exception&) {
                err << "Docx2Rtf: -t takes a number of seconds from 1 to 86400, not \"" << value
                    << "\"\n";
                return std::nullopt;
            }
        } else if (arg == "-h" || arg == "--help") {
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    if (!haveFolder || options.folder.empty()) {
        err << "Docx2Rtf: give the folder with -f\n";
        return std::nullopt;
    }
    if (positional.size() != 1 ||
        (lower(positional[0]) != "docx" && lower(positional[0]) != "odt")) {
        err << "Docx2Rtf: give the kind of document to convert: docx or odt\n";
        return std::nullopt;
    }
    options.kind = lower(positional[0]);
    return options;
}

std::vector<std::string> documentsIn(const std::string& folder, const std::string& kind) {
    std::vector<std::string> documents;
    const std::string ending = "." + kind;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= ending.size() ||
            lower(name.substr(name.size() - ending.size())) != ending)
            continue;
        if (name.rfind("~$", 0) == 0 || name.rfind(".~lock.", 0) == 0)
            continue;
        std::error_code typeError;
        if (entry.is_regular_file(typeError))
            documents.push_back(entry.path().string());
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

int convertFolder(const Options& options, ProcessLauncher& launcher, std::ostream& out,
                  std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(options.folder, ec)) {
        err << "Docx2Rtf: the folder \"" << options.folder << "\" does not exist\n";
        return FolderMissing;
    }
    const std::vector<std::string> documents = documentsIn(options.folder, options.kind);
    if (documents.empty()) {
        out << "Docx2Rtf: no ." << options.kind << " documents in \"" << options.folder
            << "\"; nothing to convert\n";
        return Converted;
    }
    const std::optional<std::string> soffice = findLibreOffice(launcher);
    if (!soffice) {
        err << "Docx2Rtf: LibreOffice (soffice) is not on the PATH; install LibreOffice Writer "
               "to convert ."
            << options.kind << " documents to RTF\n";
        return NoLibreOffice;
    }

    struct Target {
        std::string document;
        fs::path rtf;
        fs::file_time_type before;
    };
    std::vector<Target> targets;
    for (const std::string& document : documents) {
        fs::path rtf = document;
        rtf.replace_extension(".rtf");
        targets.push_back({document, rtf, modified(rtf)});
    }

    std::vector<std::string> args = {
        "--headless",   "-env:UserInstallation=" + libreOfficeProfileUrl(),
        "--convert-to", "rtf",
        "--outdir",     options.folder};
    args.insert(args.end(), documents.begin(), documents.end());
    const ProcessOutcome run = launcher.run(*soffice, args, options.timeout);
    if (!run.started) {
        err << "Docx2Rtf: " << *soffice << " could not be started\n";
        return ConversionFailed;
    }
    if (!run.finished) {
        err << "Docx2Rtf: LibreOffice took longer than " << options.timeout.count()
            << " seconds and was stopped\n";
        return TimedOut;
    }

    // LibreOffice may end with status 0 after failing on a document: only a new file counts.
    std::vector<std::string> missing;
    for (const Target& target : targets) {
        if (!fs::exists(target.rtf, ec) || modified(target.rtf) == target.before)
            missing.push_back(fs::path(target.document).filename().string());
    }
    if (run.exitCode != 0 || !missing.empty()) {
        err << "Docx2Rtf: LibreOffice ";
        if (run.exitCode != 0)
            err << "ended with status " << run.exitCode;
        else
            err << "did not convert";
        if (!missing.empty()) {
            err << (run.exitCode != 0 ? "; not converted:" : "");
            for (const std::string& name : missing)
                err << " " << name;
        }
        const std::string said = lastLines(run.output);
        if (!said.empty())
            err << "\n" << said;
        err << "\n";
        return ConversionFailed;
    }
    out << "Docx2Rtf: converted " << targets.size() << " document"
        << (targets.size() == 1 ? "" : "s") << " in \"" << options.folder << "\"\n";
    return Converted;
}

} // namespace keystride::docx2rtf
