// The program's own folder and the marking fonts, on folder trees made for each case.
#include "platform/files/program_folder.h"
#include "support/faulty_file_system.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace keystride {
namespace {

namespace fs = std::filesystem;

// A folder tree made from entries: "name/" is a folder, anything else a file.
class Tree {
public:
    explicit Tree(const std::vector<std::string>& entries = {}) {
        for (const std::string& entry : entries) {
            fs::create_directories((m_root / entry).parent_path());
            if (entry.back() != '/')
                testing::writeFile(m_root / entry, "x");
        }
    }
    std::string path(const std::string& relative) const { return (m_root / relative).string(); }

private:
    testing::TempFolder m_temp;
    fs::path m_root = fs::canonical(m_temp.path()); // the program's folder comes back resolved
};

TEST(ProgramDataFolder, PicksTheFolderByLayout) {
    // Settings beside the program wins, even over an installed data folder; the result is
    // normalised (no ".", no trailing slash); a folder named Settings is no settings file; a
    // program that does not exist yet is placed by its path; a link in ~/bin finds the
    // installation it points into.
    const std::string data = "share/vela-keystride";
    const std::tuple<const char*, std::vector<std::string>, std::string, std::string> rows[] = {
        {"build", {"bin/k", "bin/Settings", data + "/"}, "bin/k", "bin"},
        {"installed", {"bin/k", data + "/Settings"}, "bin/./k", data},
        {"loose", {"loose/k", "loose/Settings/"}, "loose/k", "loose"},
        {"missing", {}, "missing/k", "missing"},
        {"link", {"opt/bin/k", "opt/" + data + "/", "home/bin/"}, "home/bin/k", "opt/" + data},
    };
    for (const auto& [layout, entries, executable, expected] : rows) {
        const Tree tree(entries);
        if (std::string_view(layout) == "link")
            fs::create_symlink(tree.path("opt/bin/k"), tree.path(executable));
        EXPECT_EQ(programDataFolder(tree.path(executable)), tree.path(expected)) << layout;
    }
}

// The window's start-up and keystride-mark both decide font marking with this check.
TEST(MarkingFontsInstalled, NeedsAllFiveAsFilesByTheirExactNames) {
    std::vector<std::string> spread; // the five over folders "one" and "two"
    for (std::size_t i = 0; i < MarkingFontFiles.size(); ++i)
        spread.push_back((i % 2 ? "one/" : "two/") + std::string(MarkingFontFiles[i]));
    // name, entries, folders searched, the entry the file layer fails on
    using Row =
        std::tuple<std::string, std::vector<std::string>, std::vector<std::string>, std::string>;
    std::vector<Row> rows = {{"complete", spread, {"one", "two"}, ""},
                             {"one folder searched", spread, {"one"}, ""},
                             {"unreadable to the file layer", spread, {"one", "two"}, spread[2]}};
    for (std::size_t missing = 0; missing < spread.size(); ++missing) {
        std::vector<std::string> four = spread;
        four.erase(four.begin() + static_cast<std::ptrdiff_t>(missing));
        rows.push_back({"without " + spread[missing], four, {"one", "two"}, ""});
    }
    const std::vector<std::string> withoutLast = std::get<1>(rows.back());
    for (const char* stranger : {"one/COURNUUT.TTF", "one/cournuut.ttf/"}) {
        rows.push_back({stranger, withoutLast, {"one", "two"}, ""});
        std::get<1>(rows.back()).push_back(stranger);
    }
    for (auto& [name, entries, folders, failing] : rows) {
        entries.insert(entries.end(), {"one/", "two/"});
        const Tree tree(entries);
        FaultyFileSystem files;
        if (!failing.empty())
            files.failOn(FaultyFileSystem::Operation::IsFile, tree.path(failing), EIO);
        std::vector<std::string> paths;
        for (const std::string& folder : folders)
            paths.push_back(tree.path(folder));
        EXPECT_EQ(markingFontsInstalled(files, paths), name == "complete") << name;
    }
}

} // namespace
} // namespace keystride
