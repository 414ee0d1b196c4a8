#include "class_csv.h"

#include "platform/richtext/format_json.h"

#include <functional>

namespace keystride::classmarking {

namespace {

using marking::LayoutFaults;
using marking::RunRecord;

// A field as RFC 4180 wants it: quoted when it holds a comma, a quote or a line end. Bytes
// that are not UTF-8 (a file name from another system) become U+FFFD, as in the JSON.
std::string field(const std::string& raw) {
    const std::string value = toUtf8(fromUtf8(raw));
    if (value.find_first_of(",\"\r\n") == std::string::npos)
        return value;
    std::string quoted = "\"";
    for (char c : value) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

template <typename T> std::string number(const std::optional<T>& value) {
    return value ? jsonNumber(double(*value)).dump() : std::string();
}

std::string flag(const std::optional<bool>& value) {
    return value ? (*value ? "true" : "false") : "";
}

std::string messages(const RunRecord& run) {
    std::string out;
    for (const auto& [title, text] : run.messages)
        out += (out.empty() ? "" : "\n") + title + ": " + text;
    return out;
}

std::optional<bool> fault(const RunRecord& run, bool LayoutFaults::*which) {
    if (!run.scoring)
        return std::nullopt;
    return run.scoring->faults.*which;
}

struct Column {
    const char* name;
    std::function<std::string(const RunRecord&)> value;
};

const std::vector<Column>& columns() {
    static const std::vector<Column> all = {
        {"test", [](const RunRecord& r) { return r.typedTest; }},
        {"completed", [](const RunRecord& r) { return flag(r.completed); }},
        {"strokes", [](const RunRecord& r) { return number(r.strokeCount); }},
        {"errors", [](const RunRecord& r) { return number(r.errorCount); }},
        {"wpm", [](const RunRecord& r) { return number(r.wpm()); }},
        {"words", [](const RunRecord& r) { return number(r.wordsTyped); }},
        {"excess_words",
         [](const RunRecord& r) {
             return r.excessWords ? number(std::optional<std::size_t>(r.excessWords->size()))
                                  : std::string();
         }},
        {"excess_text",
         [](const RunRecord& r) { return r.excessText ? toUtf8(*r.excessText) : std::string(); }},
        {"line_feeds", [](const RunRecord& r) { return flag(fault(r, &LayoutFaults::lineFeeds)); }},
        {"full_stops", [](const RunRecord& r) { return flag(fault(r, &LayoutFaults::fullStops)); }},
        {"commas", [](const RunRecord& r) { return flag(fault(r, &LayoutFaults::commas)); }},
        {"marks", [](const RunRecord& r) { return flag(fault(r, &LayoutFaults::marks)); }},
        {"courier", [](const RunRecord& r) { return flag(fault(r, &LayoutFaults::courier)); }},
        {"line_spacing",
         [](const RunRecord& r) { return flag(fault(r, &LayoutFaults::lineSpacing)); }},
        {"end_found", [](const RunRecord& r) { return flag(r.endFound); }},
        {"marked_file", [](const RunRecord& r) { return r.markedFile.value_or(""); }},
        {"message", messages},
    };
    return all;
}

} // namespace

std::string classCsv(const std::vector<MarkedTest>& tests) {
    std::string out;
    for (const Column& column : columns())
        out += (out.empty() ? "" : ",") + std::string(column.name);
    out += "\r\n";
    for (const MarkedTest& test : tests) {
        const std::vector<Column>& all = columns();
        for (std::size_t c = 0; c < all.size(); ++c)
            out += (c > 0 ? "," : "") + field(all[c].value(test.run));
        out += "\r\n";
    }
    return out;
}

FileResult writeClassCsv(FileSystem& files, const std::string& path,
                         const std::vector<MarkedTest>& tests) {
    return files.writeAtomic(path, classCsv(tests));
}

} // namespace keystride::classmarking
