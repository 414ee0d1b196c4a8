#include "class_marking.h"

#include "documents/conversion.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace keystride::classmarking {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool isDocumentFile(const std::string& extension) {
    return extension == ".rtf" || extension == ".txt" || extension == ".doc" ||
           extension == ".docx" || extension == ".odt";
}

// The folder's speed tests, sorted by name; a word-processor document stands for the .rtf of
// the same name, which its conversion writes again.
std::vector<std::string> folderTests(const std::string& folder, std::error_code& ec) {
    namespace fs = std::filesystem;
    std::vector<std::string> tests;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code ignored;
        if (isDocumentFile(lower(entry.path().extension().string())) &&
            entry.is_regular_file(ignored))
            tests.push_back(entry.path().string());
    }
    std::set<std::string> converted;
    for (const std::string& file : tests) {
        if (conversionKindOf(file) != ConversionKind::None)
            converted.insert(rtfPathFor(file));
    }
    std::erase_if(tests, [&](const std::string& file) { return converted.count(file) > 0; });
    std::sort(tests.begin(), tests.end());
    return tests;
}

} // namespace

TestList listTests(const std::vector<std::string>& filesAndFolders) {
    TestList list;
    for (const std::string& item : filesAndFolders) {
        std::error_code ec;
        if (!std::filesystem::is_directory(item, ec)) {
            list.tests.push_back(item);
            continue;
        }
        const std::vector<std::string> tests = folderTests(item, ec);
        if (ec)
            list.problems.push_back("cannot read the folder " + item + ": " + ec.message());
        list.tests.insert(list.tests.end(), tests.begin(), tests.end());
    }
    return list;
}

} // namespace keystride::classmarking
