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
    struct Row {
        std::string name;
        std::vector<std::string> entries; // "one/..." and "two/..."
        std::string failing = {};         // asking the file layer about this file fails
    };
    std::vector<std::string> spread;
    for (std::size_t i = 0; i < MarkingFontFiles.size(); ++i)
        spread.push_back((i % 2 ? "one/" : "two/") + std::string(MarkingFontFiles[i]));
    std::vector<Row> rows = {{"spread over two folders", spread},
                             {"unreadable to the file layer", spread, spread[2]}};
    for (std::size_t missing = 0; missing < spread.size(); ++missing) {
        std::vector<std::string> four = spread;
        four.erase(four.begin() + static_cast<std::ptrdiff_t>(missing));
        rows.push_back({"without " + std::string(MarkingFontFiles[missing]), four});
    }
    rows.push_back({"one in upper case", rows.back().entries});
    rows.back().entries.push_back("one/COURNUUT.TTF");
    rows.push_back({"one as a folder", rows[rows.size() - 2].entries});
    rows.back().entries.push_back("one/cournuut.ttf/");
    for (const Row& row : rows) {
        std::vector<std::string> entries = row.entries;
        entries.insert(entries.end(), {"one/", "two/"});
        const Tree tree(entries);
        FaultyFileSystem files;
        if (!row.failing.empty())
            files.failOn(FaultyFileSystem::Operation::IsFile, tree.path(row.failing), EIO);
        const bool complete = row.name == "spread over two folders";
        EXPECT_EQ(markingFontsInstalled(files, {tree.path("one"), tree.path("two")}), complete)
            << row.name;
        if (complete) {
            EXPECT_FALSE(markingFontsInstalled(files, {tree.path("one")}));
        }
    }
}

} // namespace
} // namespace keystride
