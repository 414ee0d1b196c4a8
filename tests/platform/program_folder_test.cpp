// The program's own folder and the marking fonts, on folder trees made for each case.
#include "platform/files/program_folder.h"
#include "support/faulty_file_system.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace keystride {
namespace {

namespace fs = std::filesystem;

class Tree {
public:
    std::string folder(const std::string& relative) const {
        fs::create_directories(m_root / relative);
        return path(relative);
    }
    std::string file(const std::string& relative) const {
        fs::create_directories((m_root / relative).parent_path());
        testing::writeFile(m_root / relative, "x");
        return path(relative);
    }
    std::string path(const std::string& relative) const { return (m_root / relative).string(); }

private:
    testing::TempFolder m_temp;
    fs::path m_root = fs::canonical(m_temp.path()); // the program's folder comes back resolved
};

TEST(ProgramDataFolder, PicksTheFolderByLayout) {
    struct Row {
        const char* layout;
        std::vector<std::string> files;
        std::vector<std::string> folders;
        std::string executable;
        std::string expected;
        std::string linkTo; // the executable is a link to this file
    };
    const Row rows[] = {
        // Settings beside the program wins, even over an installed data folder.
        {"build folder",
         {"bin/keystride", "bin/Settings"},
         {"share/vela-keystride"},
         "bin/keystride",
         "bin"},
        {"installed",
         {"bin/keystride", "share/vela-keystride/Settings"},
         {},
         "bin/keystride",
         "share/vela-keystride"},
        // The result is normalised: no "..", no ".", no trailing slash.
        {"installed, dotted path",
         {"bin/keystride"},
         {"share/vela-keystride"},
         "bin/./keystride",
         "share/vela-keystride"},
        // A folder named Settings is not the settings file.
        {"loose", {"loose/keystride"}, {"loose/Settings"}, "loose/keystride", "loose"},
        // A program that does not exist (yet) is placed by its path alone.
        {"missing program", {}, {}, "missing/keystride", "missing"},
        // A link in ~/bin finds the installation it points into.
        {"link",
         {"opt/bin/keystride"},
         {"opt/share/vela-keystride", "home/bin"},
         "home/bin/keystride",
         "opt/share/vela-keystride",
         "opt/bin/keystride"},
    };
    for (const Row& row : rows) {
        Tree tree;
        for (const std::string& file : row.files)
            tree.file(file);
        for (const std::string& folder : row.folders)
            tree.folder(folder);
        if (!row.linkTo.empty())
            fs::create_symlink(tree.path(row.linkTo), tree.path(row.executable));
        EXPECT_EQ(programDataFolder(tree.path(row.executable)), tree.path(row.expected))
            << row.layout;
    }
}

TEST(MarkingFontFolders, ListsExistingFoldersToTheirDepthLimits) {
    Tree tree;
    tree.folder("data/fonts");
    tree.folder("user/vela-keystride");
    tree.folder("user/truetype/deep");
    tree.folder("sys/truetype/vela-keystride");
    tree.folder("sys/a/b/c/d");
    const FontSearchRoots roots{tree.path("user"), {tree.path("sys"), tree.path("nowhere")}};
    const std::vector<std::string> folders = markingFontFolders(tree.path("data"), roots);

    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), tree.path("data/fonts"));
    const std::pair<const char*, bool> rows[] = {
        {"user", true},          {"user/vela-keystride", true},
        {"user/truetype", true}, {"user/truetype/deep", false},
        {"sys", true},           {"sys/truetype/vela-keystride", true},
        {"sys/a/b/c", true},     {"sys/a/b/c/d", false},
        {"nowhere", false},
    };
    for (const auto& [folder, listed] : rows) {
        EXPECT_EQ(std::count(folders.begin(), folders.end(), tree.path(folder)), listed ? 1 : 0)
            << folder;
    }
    EXPECT_TRUE(markingFontFolders(tree.path("missing"), FontSearchRoots{}).empty());
}

TEST(MarkingFontFolders, LinkLoopInAFontTreeEnds) {
    Tree tree;
    tree.folder("sys/a");
    fs::create_directory_symlink(tree.path("sys"), tree.path("sys/a/loop"));
    const std::vector<std::string> folders =
        markingFontFolders("", FontSearchRoots{"", {tree.path("sys")}});
    EXPECT_NE(std::find(folders.begin(), folders.end(), tree.path("sys/a/loop")), folders.end());
    EXPECT_LE(folders.size(), 8u);
}

// The window's start-up and keystride-mark both decide font marking with this check.
TEST(MarkingFontsInstalled, NeedsAllFiveAsFilesByTheirExactNames) {
    struct Row {
        std::string name;
        std::vector<std::string> files;   // relative to the tree: "one/..." or "two/..."
        std::vector<std::string> folders; // made as folders
        std::vector<std::string> searched;
        bool expected;
        std::string failing = {}; // asking the file layer about this file fails
    };
    std::vector<std::string> spread;
    for (std::size_t i = 0; i < MarkingFontFiles.size(); ++i)
        spread.push_back((i % 2 ? "one/" : "two/") + std::string(MarkingFontFiles[i]));
    std::vector<Row> rows = {
        {"none", {}, {}, {"one", "two"}, false},
        {"no folders searched", spread, {}, {}, false},
        {"spread over two folders", spread, {}, {"one", "two"}, true},
        {"one of the two folders searched", spread, {}, {"one"}, false},
        {"unreadable to the file layer", spread, {}, {"one", "two"}, false, spread[2]},
    };
    for (std::size_t missing = 0; missing < spread.size(); ++missing) {
        std::vector<std::string> four = spread;
        four.erase(four.begin() + static_cast<std::ptrdiff_t>(missing));
        const std::string name(MarkingFontFiles[missing]);
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        rows.push_back({"without " + name, four, {}, {"one", "two"}, false});
        rows.push_back({name + " in upper case", four, {}, {"one", "two"}, false});
        rows.back().files.push_back("one/" + upper);
        rows.push_back({name + " as a folder", four, {"one/" + name}, {"one", "two"}, false});
    }
    for (const Row& row : rows) {
        Tree tree;
        for (const std::string& file : row.files)
            tree.file(file);
        for (const std::string& folder : row.folders)
            tree.folder(folder);
        std::vector<std::string> searched;
        for (const std::string& folder : row.searched)
            searched.push_back(tree.folder(folder));
        FaultyFileSystem files;
        if (!row.failing.empty())
            files.failOn(FaultyFileSystem::Operation::IsFile, tree.path(row.failing), EIO);
        EXPECT_EQ(markingFontsInstalled(files, searched), row.expected) << row.name;
    }
}

} // namespace
} // namespace keystride
