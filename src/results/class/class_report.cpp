#include "class_report.h"

#include <filesystem>

namespace keystride::classmarking {

std::vector<ReportPage> classReport(const std::vector<MarkedTest>& tests,
                                    const std::string& sourceName) {
    std::vector<ReportPage> pages{{"index.html", classPage(tests, sourceName)}};
    const int count = static_cast<int>(tests.size());
    for (int i = 0; i < count; ++i)
        pages.push_back({testPageName(i, count), testPage(tests[std::size_t(i)], i, count)});
    return pages;
}

FileResult writeClassReport(FileSystem& files, const std::string& folder,
                            const std::vector<MarkedTest>& tests, const std::string& sourceName) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return FileError{errorcodes::PathFileAccess,
                         "cannot make the report's folder " + folder + ": " + ec.message()};
    for (const ReportPage& page : classReport(tests, sourceName)) {
        if (FileResult error =
                files.writeAtomic((std::filesystem::path(folder) / page.name).string(), page.html))
            return error;
    }
    return std::nullopt;
}

} // namespace keystride::classmarking
