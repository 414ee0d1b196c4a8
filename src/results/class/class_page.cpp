// The class page: the table, the summary and the charts.
#include "class_report.h"

#include "mark_reasons.h"
#include "report_html.h"

#include <algorithm>
#include <map>

namespace keystride::classmarking {

namespace {

using marking::RunRecord;

std::vector<double> speeds(const std::vector<MarkedTest>& tests) {
    std::vector<double> out;
    for (const MarkedTest& test : tests) {
        if (test.run.completed && test.run.wpm())
            out.push_back(*test.run.wpm());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<double> median(const std::vector<double>& sorted) {
    if (sorted.empty())
        return std::nullopt;
    const std::size_t mid = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

// Every kind of mark given in the class, most frequent first.
std::vector<ReasonCount> classReasons(const std::vector<MarkedTest>& tests) {
    std::map<Reason, int> counts;
    for (const MarkedTest& test : tests) {
        for (const ReasonCount& rc : reasonCounts(test.run))
            counts[rc.reason] += rc.count;
    }
    std::vector<ReasonCount> out;
    for (const auto& [reason, count] : counts)
        out.push_back({reason, count});
    std::stable_sort(out.begin(), out.end(),
                     [](const ReasonCount& a, const ReasonCount& b) { return a.count > b.count; });
    return out;
}

std::string card(const std::string& value, const std::string& label) {
    return "<div class=\"card\"><span class=\"value\">" + value + "</span><span class=\"label\">" +
           label + "</span></div>";
}

std::string summary(const std::vector<MarkedTest>& tests) {
    const std::vector<double> wpm = speeds(tests);
    std::string out = "<div class=\"cards\">";
    out += card(html::number(median(wpm)), "median words per minute");
    out += card(wpm.empty() ? "–" : html::number(wpm.front()) + " – " + html::number(wpm.back()),
                "range of words per minute");
    out += card(std::to_string(wpm.size()) + " of " + std::to_string(tests.size()), "tests marked");
    out += "</div>\n";
    const std::vector<ReasonCount> reasons = classReasons(tests);
    if (!reasons.empty()) {
        out += "<p>Most common kinds of error: ";
        for (std::size_t i = 0; i < reasons.size() && i < 3; ++i)
            out += std::string(i ? "; " : "") + reasonText(reasons[i].reason) + " (" +
                   std::to_string(reasons[i].count) + ")";
        out += ".</p>\n";
    }
    return out;
}

// The layout faults of a marked test, or why a test has no marks.
std::string faultsCell(const MarkedTest& test) {
    std::string out;
    if (test.run.completed) {
        for (const LayoutFaultNote& note : layoutFaultNotes(test.run))
            out += (out.empty() ? "" : "<br>") + html::escape(note.line);
        return out;
    }
    for (const auto& [title, text] : test.run.messages)
        out += (out.empty() ? "" : "<br>") + html::escape(title + ": " + text);
    return out;
}

std::string classTable(const std::vector<MarkedTest>& tests) {
    std::string out = "<table class=\"class\">\n<thead><tr><th class=\"n\">#</th><th>Test</th>"
                      "<th class=\"n\">Words</th><th class=\"n\">Strokes</th>"
                      "<th class=\"n\">Errors</th><th class=\"n\">WPM</th><th>Faults</th></tr>"
                      "</thead>\n<tbody>\n";
    const int count = static_cast<int>(tests.size());
    for (int i = 0; i < count; ++i) {
        const RunRecord& run = tests[std::size_t(i)].run;
        auto n = [](const std::optional<int>& v) {
            return html::number(v ? std::optional<double>(*v) : std::nullopt);
        };
        out += std::string("<tr") + (run.completed ? "" : " class=\"unmarked\"") +
               "><td class=\"n\">" + std::to_string(i + 1) + "</td><td><a href=\"" +
               testPageName(i, count) + "\" title=\"" + html::escape(run.typedTest) + "\">" +
               html::escape(html::fileName(run.typedTest)) + "</a></td><td class=\"n\">" +
               n(run.wordsTyped) + "</td><td class=\"n\">" + n(run.strokeCount) +
               "</td><td class=\"n\">" + n(run.errorCount) + "</td><td class=\"n\">" +
               html::number(run.completed ? run.wpm() : std::nullopt) + "</td><td>" +
               faultsCell(tests[std::size_t(i)]) + "</td></tr>\n";
    }
    return out + "</tbody>\n</table>\n";
}

std::string charts(const std::vector<MarkedTest>& tests) {
    std::vector<html::Bar> perLearner;
    const int count = static_cast<int>(tests.size());
    for (int i = 0; i < count; ++i) {
        const RunRecord& run = tests[std::size_t(i)].run;
        const std::optional<double> wpm = run.completed ? run.wpm() : std::nullopt;
        perLearner.push_back({html::escape(html::fileName(run.typedTest)), wpm,
                              wpm ? html::number(wpm) : "not marked", testPageName(i, count)});
    }
    std::vector<html::Bar> byKind;
    for (const ReasonCount& rc : classReasons(tests))
        byKind.push_back({reasonText(rc.reason), double(rc.count), std::to_string(rc.count), ""});
    std::string out = "<h2>Words per minute</h2>\n" +
                      html::barChart("Words per minute of each test; the dashed line is the "
                                     "median.",
                                     perLearner, median(speeds(tests)));
    if (!byKind.empty())
        out += "<h2>Errors by kind</h2>\n" +
               html::barChart("Marks given in the whole class, by kind.", byKind);
    return out;
}

} // namespace

std::string classPage(const std::vector<MarkedTest>& tests, const std::string& sourceName) {
    std::string body =
        "<h1>Class report</h1>\n<p class=\"sub\">Source document: " + html::escape(sourceName) +
        " · " + std::to_string(tests.size()) +
        (tests.size() == 1 ? " speed test" : " speed tests") + "</p>\n";
    body += summary(tests);
    body += "<h2>The class</h2>\n" + classTable(tests);
    body += charts(tests);
    return html::page("Class report – " + html::escape(html::fileName(sourceName)), body);
}

std::string testPageName(int index, int count) {
    const std::size_t width = std::max<std::size_t>(2, std::to_string(count).size());
    std::string number = std::to_string(index + 1);
    number.insert(0, width > number.size() ? width - number.size() : 0, '0');
    return "test-" + number + ".html";
}

} // namespace keystride::classmarking
