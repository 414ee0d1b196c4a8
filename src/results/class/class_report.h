// A class's marks as a self-contained HTML report: no script, no network, no outside file. The
// class page ("index.html") holds the class table, a summary and charts; each test has a page
// that explains every mark it was given.
#pragma once

#include "class_marking.h"

#include "platform/files/file_system.h"

#include <string>
#include <vector>

namespace keystride::classmarking {

struct ReportPage {
    std::string name; // the file name in the report's folder
    std::string html;
};

// "index.html" first, then one page per test in order ("test-01.html", ...).
// `sourceName`: the source document as the teacher chose it.
std::vector<ReportPage> classReport(const std::vector<MarkedTest>& tests,
                                    const std::string& sourceName);

// The name of the page of test `index` (0-based) of a class of `count` tests.
std::string testPageName(int index, int count);

// Writes every page into `folder` (created when missing), each page as a whole: a failed write
// leaves no part of a page behind. Stops at the first failure.
FileResult writeClassReport(FileSystem& files, const std::string& folder,
                            const std::vector<MarkedTest>& tests, const std::string& sourceName);

// The pages, for the window to show one: the class page, and the page of one test.
std::string classPage(const std::vector<MarkedTest>& tests, const std::string& sourceName);
std::string testPage(const MarkedTest& test, int index, int count);

} // namespace keystride::classmarking
