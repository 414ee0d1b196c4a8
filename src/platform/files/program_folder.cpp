#include "platform/files/program_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

namespace keystride {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t MaxFontFolders = 4096;
constexpr int UserFontDepth = 1;
constexpr int SystemFontDepth = 3;

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

std::string withoutTrailingSlash(const fs::path& folder) {
    std::string text = folder.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

fs::path executableFolder(const std::string& executablePath) {
    std::error_code error;
    if (executablePath.empty())
        return fs::current_path(error);
    fs::path executable = fs::weakly_canonical(executablePath, error);
    if (error)
        executable = fs::absolute(executablePath, error);
    return executable.parent_path();
}

class FolderCollector {
public:
    // Adds `folder` when it exists, then its subfolders down to `depth` levels.
    void addTree(const fs::path& folder, int depth) {
        if (folder.empty() || !isFolder(folder))
            return;
        add(folder);
        addChildren(folder, depth);
    }

    std::vector<std::string> take() { return std::move(m_folders); }

private:
    void add(const fs::path& folder) {
        std::string text = withoutTrailingSlash(folder);
        if (m_folders.size() < MaxFontFolders && m_seen.insert(text).second)
            m_folders.push_back(std::move(text));
    }

    void addChildren(const fs::path& folder, int depth) {
        if (depth <= 0 || m_folders.size() >= MaxFontFolders)
            return;
        std::vector<fs::path> children;
        std::error_code error;
        for (fs::directory_iterator
                 it(folder, fs::directory_options::skip_permission_denied, error),
             end;
             !error && it != end; it.increment(error)) {
            if (isFolder(it->path()))
                children.push_back(it->path());
        }
        std::sort(children.begin(), children.end()); // the same order on every run
        for (const fs::path& child : children) {
            add(child);
            addChildren(child, depth - 1);
        }
    }

    std::vector<std::string> m_folders;
    std::set<std::string> m_seen;
};

} // namespace

std::string programDataFolder(const std::string& executablePath) {
    const fs::path folder = executableFolder(executablePath);
    if (isFile(folder / "Settings"))
        return withoutTrailingSlash(folder);
    const fs::path installed = folder / ".." / "share" / "vela-keystride";
    if (isFolder(installed))
        return withoutTrailingSlash(installed);
    return withoutTrailingSlash(folder);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder == ".")
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string findProgramFile(const FileSystem& files, const std::string& name,
                            const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        std::string path = joinPath(folder, name);
        if (files.exists(path))
            return path;
    }
    return joinPath(folders.empty() ? std::string() : folders.front(), name);
}

FontSearchRoots defaultFontSearchRoots() {
    FontSearchRoots roots;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        roots.userFonts = std::string(dataHome) + "/fonts";
    else if (home != nullptr && home[0] != '\0')
        roots.userFonts = std::string(home) + "/.local/share/fonts";
    roots.systemFonts = {"/usr/local/share/fonts", "/usr/share/fonts"};
    return roots;
}

std::vector<std::string> markingFontFolders(const std::string& dataFolder,
                                            const FontSearchRoots& roots) {
    FolderCollector collector;
    if (!dataFolder.empty())
        collector.addTree(fs::path(dataFolder) / "fonts", 0);
    collector.addTree(roots.userFonts, UserFontDepth);
    for (const std::string& root : roots.systemFonts)
        collector.addTree(root, SystemFontDepth);
    return collector.take();
}

std::vector<std::string> markingFontFolders(const std::string& dataFolder) {
    return markingFontFolders(dataFolder, defaultFontSearchRoots());
}

bool markingFontsInstalled(const FileSystem& files, const std::vector<std::string>& folders) {
    return std::all_of(
        MarkingFontFiles.begin(), MarkingFontFiles.end(), [&](std::string_view name) {
            return std::any_of(folders.begin(), folders.end(), [&](const std::string& folder) {
                return files.isFile((fs::path(folder) / name).string());
            });
        });
}

} // namespace keystride
