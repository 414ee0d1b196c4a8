#include "platform/files/program_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace keystride {
namespace {

namespace fs = std::filesystem;

class Tree {
public:
    Tree() {
        std::random_device random;
        m_root = fs::temp_directory_path() /
                 ("keystride-folder-" + std::to_string(random()) + "-" + std::to_string(random()));
        fs::create_directories(m_root);
        m_root = fs::canonical(m_root);
    }
    ~Tree() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    std::string folder(const std::string& relative) const {
        fs::create_directories(m_root / relative);
        return (m_root / relative).string();
    }
    std::string file(const std::string& relative) const {
        fs::create_directories((m_root / relative).parent_path());
        std::ofstream(m_root / relative) << "x";
        return (m_root / relative).string();
    }
    std::string path(const std::string& relative) const { return (m_root / relative).string(); }

private:
    fs::path m_root;
};

bool contains(const std::vector<std::string>& folders, const std::string& folder) {
    return std::find(folders.begin(), folders.end(), folder) != folders.end();
}

TEST(ProgramDataFolder, PicksTheFolderByLayout) {
    struct Case {
        const char* layout;
        std::vector<std::string> files;
        std::vector<std::string> folders;
        std::string executable;
        std::string expected;
    };
    const std::vector<Case> cases = {
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
    };
    for (const Case& c : cases) {
        Tree tree;
        for (const std::string& file : c.files)
            tree.file(file);
        for (const std::string& folder : c.folders)
            tree.folder(folder);
        EXPECT_EQ(programDataFolder(tree.path(c.executable)), tree.path(c.expected)) << c.layout;
    }
}

TEST(ProgramDataFolder, FollowsALinkToTheInstalledProgram) {
    Tree tree;
    const std::string exe = tree.file("opt/bin/keystride");
    tree.folder("opt/share/vela-keystride");
    tree.folder("home/bin");
    fs::create_symlink(exe, tree.path("home/bin/keystride"));
    EXPECT_EQ(programDataFolder(tree.path("home/bin/keystride")),
              tree.path("opt/share/vela-keystride"));
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
    struct Case {
        const char* folder;
        bool listed;
    };
    for (const Case& c :
         {Case{"user", true}, Case{"user/vela-keystride", true}, Case{"user/truetype", true},
          Case{"user/truetype/deep", false}, Case{"sys", true},
          Case{"sys/truetype/vela-keystride", true}, Case{"sys/a/b/c", true},
          Case{"sys/a/b/c/d", false}, Case{"nowhere", false}}) {
        EXPECT_EQ(contains(folders, tree.path(c.folder)), c.listed) << c.folder;
    }
    for (std::size_t i = 0; i < folders.size(); ++i)
        EXPECT_EQ(std::count(folders.begin(), folders.end(), folders[i]), 1) << folders[i];
}

TEST(MarkingFontFolders, MissingDataFontsAndRootsGiveNothing) {
    Tree tree;
    const FontSearchRoots roots{tree.path("no-user"), {tree.path("no-sys")}};
    EXPECT_TRUE(markingFontFolders(tree.folder("data"), roots).empty());
    EXPECT_TRUE(markingFontFolders("", FontSearchRoots{}).empty());
}

TEST(MarkingFontFolders, LinkLoopInAFontTreeEnds) {
    Tree tree;
    tree.folder("sys/a");
    fs::create_directory_symlink(tree.path("sys"), tree.path("sys/a/loop"));
    const std::vector<std::string> folders =
        markingFontFolders("", FontSearchRoots{"", {tree.path("sys")}});
    EXPECT_TRUE(contains(folders, tree.path("sys/a/loop")));
    EXPECT_LE(folders.size(), 8u);
}

TEST(MarkingFontsInstalled, NeedsAllFiveByTheirExactNames) {
    Tree tree;
    const std::string first = tree.folder("one");
    const std::string second = tree.folder("two");
    EXPECT_FALSE(markingFontsInstalled({}));
    EXPECT_FALSE(markingFontsInstalled({first, second}));

    // Spread over two folders, the five count as installed.
    for (std::size_t i = 0; i < MarkingFontFiles.size(); ++i)
        tree.file((i % 2 ? "one/" : "two/") + std::string(MarkingFontFiles[i]));
    EXPECT_TRUE(markingFontsInstalled({first, second}));
    EXPECT_FALSE(markingFontsInstalled({first}));

    // Any one of them missing, or present under another case or as a folder, is not enough.
    for (std::string_view name : MarkingFontFiles) {
        const std::string folder = tree.folder("only-four-" + std::string(name));
        for (std::string_view other : MarkingFontFiles) {
            if (other != name)
                tree.file("only-four-" + std::string(name) + "/" + std::string(other));
        }
        EXPECT_FALSE(markingFontsInstalled({folder})) << "without " << name;

        std::string upper(name);
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        tree.file("only-four-" + std::string(name) + "/" + upper);
        EXPECT_FALSE(markingFontsInstalled({folder})) << "with " << upper;
        tree.folder("only-four-" + std::string(name) + "/" + std::string(name));
        EXPECT_FALSE(markingFontsInstalled({folder})) << name << " as a folder";
    }
}

TEST(MarkingFontsInstalled, FindsAUserInstallOneLevelDownButNotDeeper) {
    Tree tree;
    for (std::string_view name : MarkingFontFiles) {
        tree.file("user/vela-keystride/" + std::string(name));
        tree.file("other-user/a/b/" + std::string(name));
    }
    EXPECT_TRUE(
        markingFontsInstalled(markingFontFolders("", FontSearchRoots{tree.path("user"), {}})));
    EXPECT_FALSE(markingFontsInstalled(
        markingFontFolders("", FontSearchRoots{tree.path("other-user"), {}})));
    // The same files three levels below a system font folder are found.
    EXPECT_TRUE(markingFontsInstalled(
        markingFontFolders("", FontSearchRoots{"", {tree.path("other-user")}})));
}

} // namespace
} // namespace keystride
