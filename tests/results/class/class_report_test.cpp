// The class report as a teacher opens it: in a real browser (headless Chromium), the class page
// with every test's name, speed and an SVG chart, and each test's page with every mark and its
// reason.
#include "class_fixture.h"

#include "results/class/class_report.h"
#include "results/class/mark_reasons.h"

#include "platform/richtext/format_json.h"

#include <array>
#include <cstdio>

namespace keystride::classmarking::testing {
namespace {

using marking::RunRecord;

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 65536> buffer{};
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

// The page as Chromium parsed and laid it out, serialised again.
std::string renderedDom(const std::string& file, const std::string& profile) {
    return run("chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
               "--disable-background-networking --disable-component-update --disable-sync "
               "--user-data-dir='" +
               profile + "' --dump-dom 'file://" + file + "' 2>/dev/null");
}

// The texts between the DOM's tags, with character references decoded, empty ones left out.
std::vector<std::string> texts(const std::string& dom) {
    std::vector<std::string> out;
    std::string text;
    auto flush = [&] {
        for (const auto& [ref, c] :
             std::vector<std::pair<std::string, std::string>>{{"&lt;", "<"},
                                                              {"&gt;", ">"},
                                                              {"&quot;", "\""},
                                                              {"&nbsp;", "\xc2\xa0"},
                                                              {"&amp;", "&"}})
            for (std::size_t p = text.find(ref); p != std::string::npos; p = text.find(ref, p + 1))
                text.replace(p, ref.size(), c);
        if (!text.empty())
            out.push_back(text);
        text.clear();
    };
    bool inTag = false;
    for (char c : dom) {
        if (c == '<') {
            flush();
            inTag = true;
        } else if (c == '>') {
            inTag = false;
        } else if (!inTag) {
            text += c;
        }
    }
    flush();
    return out;
}

bool holds(const std::vector<std::string>& texts, const std::string& wanted) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return t.find(wanted) != std::string::npos; });
}

// `word` shown as typed (perhaps with the sign of its line end), with `reason` under it.
bool explained(const std::vector<std::string>& texts, const std::string& word,
               const std::string& reason) {
    for (std::size_t k = 0; k + 1 < texts.size(); ++k) {
        const std::size_t why = texts[k + 1] == "↵" ? k + 2 : k + 1;
        if (texts[k] == word && why < texts.size() && texts[why].find(reason) != std::string::npos)
            return true;
    }
    return false;
}

std::string shownWord(const std::u16string& word) {
    std::u16string w = word;
    while (!w.empty() && (w.back() == u' ' || w.back() == u'\r' || w.back() == u'\n'))
        w.pop_back();
    return toUtf8(w);
}

using ClassReportTest = ClassFixture;

TEST_F(ClassReportTest, ABrowserShowsTheClassAndEveryMarkWithItsReason) {
    if (run("command -v chromium").empty())
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
    // A name that is markup must show as text.
    const std::string hostile = folder.file("class/10 <b>Ann & \"Co\".txt");
    std::filesystem::copy_file(tests[0], hostile);
    ClassMarkingOptions o = options();
    o.tests.push_back(hostile);
    const ClassMarking marked = markClass(o);
    const std::string report = folder.file("report");
    ASSERT_FALSE(writeClassReport(FileSystem::real(), report, marked.tests, source));
    keystride::testing::TempFolder profile("keystride-chromium-");

    const std::string index = renderedDom(report + "/index.html", profile.path().string());
    ASSERT_NE(index.find("<svg"), std::string::npos) << index.substr(0, 400);
    EXPECT_EQ(index.find("<b>"), std::string::npos) << "a test's name became markup";
    const std::vector<std::string> classTexts = texts(index);
    const int count = static_cast<int>(marked.tests.size());
    for (int i = 0; i < count; ++i) {
        const RunRecord& run = marked.tests[std::size_t(i)].run;
        const std::string name = run.typedTest.substr(run.typedTest.rfind('/') + 1);
        SCOPED_TRACE(name);
        EXPECT_TRUE(holds(classTexts, name));
        EXPECT_TRUE(holds(classTexts, jsonNumber(*run.wpm()).dump()));
        const std::string page = testPageName(i, count);
        ASSERT_NE(index.find("href=\"" + page + "\""), std::string::npos);
        const std::vector<std::string> pageTexts =
            texts(renderedDom(report + "/" + page, profile.path().string()));
        EXPECT_TRUE(holds(pageTexts, name));
        for (const RunRecord::Error& error : *run.errors) {
            const std::string reason = reasonText(reasonOf(error));
            const bool marker = error.word == marking::DoubleSpaceMarker ||
                                error.word == marking::SingleSpaceMarker;
            EXPECT_TRUE(marker ? holds(pageTexts, reason)
                               : explained(pageTexts, shownWord(error.word), reason))
                << toUtf8(error.word) << ": " << reason;
        }
        for (const RunRecord::Repeat& repeat : *run.repeats)
            EXPECT_TRUE(
                explained(pageTexts, shownWord(repeat.word), reasonText(Reason::RepeatedError)));
    }
}

} // namespace
} // namespace keystride::classmarking::testing
