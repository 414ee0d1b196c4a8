// Where the program finds its own files: the settings file "Settings", the busy animation
// "cdverify.avi" and the five marking typefaces. On Windows these lay beside the executable and
// in the system's font folder; an installed Linux program keeps them in its data folder
// <prefix>/share/vela-keystride, and fonts are wherever fontconfig looks.
#pragma once

#include "platform/files/file_system.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace keystride {

// The five marking typefaces; font marking is used only when every one of them is found.
inline constexpr std::array<std::string_view, 5> MarkingFontFiles = {
    "Cour1.ttf", "Cour2.ttf", "Cour3.ttf", "CourRaam.ttf", "cournuut.ttf"};

// The program's folder, the one that holds "Settings" and "cdverify.avi":
// 1. the executable's folder when it holds a file "Settings" (a program run from its build
//    folder, or unpacked into one folder);
// 2. otherwise <executable's folder>/../share/vela-keystride when that folder exists (an
//    installed program: <prefix>/bin/keystride and <prefix>/share/vela-keystride);
// 3. otherwise the executable's folder.
// Symbolic links to the executable are followed first, so a link in ~/bin still finds the
// installation it points into. The result is absolute and has no trailing slash (but for "/").
std::string programDataFolder(const std::string& executablePath);

// `folder` + "/" + `name`; a bare name for the current folder "." (or "").
std::string joinPath(const std::string& folder, const std::string& name);

// Where the program reads one of its own files: `name` in the first of `folders` that holds it.
// The help documents are looked for in the current folder, then in the program's folder, so
// that an installed program started from any folder finds the ones in its data folder. When no
// folder holds the file the result is `name` in the first folder, where loading then fails as
// for any missing file. A folder "." or "" stands for the current folder (a bare name).
std::string findProgramFile(const FileSystem& files, const std::string& name,
                            const std::vector<std::string>& folders);

// Font folders to look in for the marking typefaces, besides the data folder's own fonts/.
struct FontSearchRoots {
    std::string userFonts;                // searched with its subfolders one level deep
    std::vector<std::string> systemFonts; // searched with subfolders down to three levels
};

// ~/.local/share/fonts (or $XDG_DATA_HOME/fonts), /usr/local/share/fonts and /usr/share/fonts.
FontSearchRoots defaultFontSearchRoots();

// The existing folders among: <dataFolder>/fonts, the user font folder and its subfolders one
// level deep, the system font folders and their subfolders down to three levels. In that
// order, each folder once. Unreadable folders are skipped; the walk stops after a few thousand
// folders, so a huge or looping font tree cannot stall start-up.
std::vector<std::string> markingFontFolders(const std::string& dataFolder);
std::vector<std::string> markingFontFolders(const std::string& dataFolder,
                                            const FontSearchRoots& roots);

// True when each of the five marking font files is a regular file in one of `folders`, asked
// through the file layer (names are matched exactly, case included; a folder named like a font
// file does not count). The five may be spread over several folders.
bool markingFontsInstalled(const FileSystem& files, const std::vector<std::string>& folders);

} // namespace keystride
