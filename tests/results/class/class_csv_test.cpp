// The spreadsheet of a class: RFC 4180, and every value what keystride-mark's JSON gives.
#include "class_fixture.h"

#include "results/class/class_csv.h"
#include "results/run_json.h"

#include <nlohmann/json.hpp>

namespace keystride::classmarking::testing {
namespace {

// Rows of fields, read as RFC 4180 says: quoted fields may hold commas, quotes (doubled) and
// line ends; every record ends with CR LF.
std::vector<std::vector<std::string>> readCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = rows.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            rows.emplace_back(1);
        } else {
            field += c;
        }
    }
    rows.pop_back(); // after the last CR LF
    return rows;
}

// The CSV's columns, each with the JSON value it gives: a key, "outer/inner" for a value inside
// an object, "#key" for the length of a list, "messages" as "title: text" lines.
const std::vector<std::pair<std::string, std::string>> Columns = {
    {"test", "test"},
    {"completed", "completed"},
    {"strokes", "stroke_count"},
    {"errors", "error_count"},
    {"wpm", "wpm"},
    {"words", "words_typed"},
    {"excess_words", "#excess_words"},
    {"excess_text", "excess_text"},
    {"line_feeds", "layout_faults/line_feeds"},
    {"full_stops", "layout_faults/full_stops"},
    {"commas", "layout_faults/commas"},
    {"marks", "layout_faults/marks"},
    {"courier", "layout_faults/courier"},
    {"line_spacing", "layout_faults/line_spacing"},
    {"end_found", "end_found"},
    {"marked_file", "marked_file"},
    {"message", "messages"},
};

// The JSON value as the CSV writes it: null empty, strings as they are, the rest as JSON.
std::string jsonField(const nlohmann::json& run, const std::string& path) {
    if (path == "messages") {
        std::string out;
        for (const auto& m : run["messages"])
            out += (out.empty() ? "" : "\n") + m["title"].get<std::string>() + ": " +
                   m["text"].get<std::string>();
        return out;
    }
    const bool length = path.front() == '#';
    const std::size_t slash = path.find('/');
    const nlohmann::json& outer = run[path.substr(length, slash - length)];
    const nlohmann::json& value =
        slash == std::string::npos || outer.is_null() ? outer : outer[path.substr(slash + 1)];
    if (value.is_null())
        return "";
    if (length)
        return std::to_string(value.size());
    return value.is_string() ? value.get<std::string>() : value.dump();
}

using ClassCsvTest = ClassFixture;

TEST_F(ClassCsvTest, EveryRowHoldsTheValuesOfTheJson) {
    keystride::testing::writeFile(folder.file("class/lost.txt"), std::string(80, 'q'));
    ClassMarkingOptions o = options();
    o.tests.push_back(folder.file("class/lost.txt"));      // "Unable to compare"
    o.tests.push_back(folder.file("class/not there.rtf")); // cannot be opened
    const ClassMarking marked = markClass(o);
    const auto rows = readCsv(classCsv(marked.tests));
    ASSERT_EQ(rows.size(), marked.tests.size() + 1);
    ASSERT_EQ(rows[0].size(), Columns.size());
    for (std::size_t c = 0; c < Columns.size(); ++c)
        EXPECT_EQ(rows[0][c], Columns[c].first);
    for (std::size_t r = 0; r < marked.tests.size(); ++r) {
        const nlohmann::json json = nlohmann::json::parse(runRecordJson(marked.tests[r].run));
        ASSERT_EQ(rows[r + 1].size(), Columns.size()) << r;
        for (std::size_t c = 0; c < Columns.size(); ++c)
            EXPECT_EQ(rows[r + 1][c], jsonField(json, Columns[c].second))
                << Columns[c].first << " row " << r;
    }
    EXPECT_EQ(rows[Learners + 1][1], "false") << "Unable to compare";
    EXPECT_NE(rows[Learners + 2].back().find("not there.rtf"), std::string::npos);
}

TEST_F(ClassCsvTest, FieldsAreQuotedWhereRfc4180AsksAndLinesEndInCrLf) {
    const struct {
        const char* name;
        const char* field;
    } rows[] = {
        {"plain.rtf", "plain.rtf"},
        {"a,b.rtf", "\"a,b.rtf\""},
        {"say \"hi\".rtf", "\"say \"\"hi\"\".rtf\""},
        {"two\nlines.rtf", "\"two\nlines.rtf\""},
        {"cr\r.rtf", "\"cr\r.rtf\""},
        {"bad \xff.rtf", "bad \xef\xbf\xbd.rtf"},
    };
    for (const auto& row : rows) {
        MarkedTest test;
        test.run.typedTest = row.name;
        const std::string csv = classCsv({test});
        const std::string line = csv.substr(csv.find("\r\n") + 2);
        EXPECT_EQ(line.substr(0, line.find(",false,")), row.field) << row.name;
        EXPECT_TRUE(line.ends_with(",\r\n")) << row.name;
    }
}

} // namespace
} // namespace keystride::classmarking::testing
