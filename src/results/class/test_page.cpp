// A test's page: the report as the test received it, the marked test as it shows the faults,
// and every mark beside the source word it stands for, with its reason.
#include "class_report.h"

#include "mark_reasons.h"
#include "report_html.h"
#include "word_alignment.h"

#include <algorithm>
#include <map>

namespace keystride::classmarking {

namespace {

using marking::RunRecord;

std::u16string withoutCarriageReturns(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c != u'\r')
            out += c;
    }
    return out;
}

std::string card(const std::string& value, const std::string& label) {
    return "<div class=\"card\"><span class=\"value\">" + value + "</span><span class=\"label\">" +
           label + "</span></div>";
}

std::string figures(const RunRecord& run) {
    auto n = [](const std::optional<int>& v) {
        return html::number(v ? std::optional<double>(*v) : std::nullopt);
    };
    return "<div class=\"cards\">" + card(html::number(run.wpm()), "words per minute") +
           card(n(run.errorCount), "words with errors") + card(n(run.strokeCount), "strokes") +
           card(n(run.wordsTyped), "words typed") + "</div>\n";
}

std::string messages(const RunRecord& run) {
    std::string out;
    for (const auto& [title, text] : run.messages)
        out += "<p class=\"notice\"><strong>" + html::escape(title) + "</strong> " +
               html::escape(text) + "</p>\n";
    return out;
}

// The report lines as the run appended them to the test.
std::string reportSection(const RunRecord& run) {
    if (!run.report)
        return {};
    std::u16string lines = withoutCarriageReturns(*run.report);
    if (!lines.empty() && lines.front() == u'\n')
        lines.erase(0, 1);
    return "<h2>The report</h2>\n<pre class=\"report\">" + html::escape(lines) + "</pre>\n";
}

// The marking faces draw a frame around a wrong word; a repeated error is underlined in waves.
const char* faceClass(const std::string& font) {
    static const std::map<std::string, const char*> faces = {
        {"Courier1", "f1"}, {"Courierraam", "fr"}, {"Courier2", "f2"},
        {"Courier3", "f3"}, {"DoCourier", "fd"},
    };
    const auto found = faces.find(font);
    return found == faces.end() ? nullptr : found->second;
}

std::string spanStyle(const CharFormat& format) {
    std::string style;
    if (format.colour != colours::black)
        style += "color:" + format.colour.hex() + ";";
    if (format.background && *format.background != colours::white)
        style += "background:" + format.background->hex() + ";";
    if (format.bold)
        style += "font-weight:bold;";
    if (format.underline)
        style += "text-decoration:underline;text-underline-offset:3px;";
    return style;
}

// The typed text (without the report) as the marked test shows it, from the pane's formatting
// runs after the run.
std::string markedTest(const RunRecord& run) {
    const std::size_t reportLength = run.report ? run.report->size() : 0;
    const std::size_t end = run.typedText.size() - std::min(reportLength, run.typedText.size());
    std::string out = std::string("<h2>") + (run.completed ? "The marked test" : "The typed test") +
                      "</h2>\n<div class=\"pane\">";
    for (const FormatSpan& span : run.typedRuns) {
        const std::size_t start = static_cast<std::size_t>(span.start);
        if (start >= end)
            break;
        const std::size_t length = std::min<std::size_t>(span.length, end - start);
        const std::string text = html::escape(
            withoutCarriageReturns(std::u16string_view(run.typedText).substr(start, length)));
        const char* face = faceClass(span.format.font);
        const std::string style = spanStyle(span.format);
        if (!face && style.empty()) {
            out += text;
            continue;
        }
        out += std::string("<span") + (face ? std::string(" class=\"") + face + "\"" : "") +
               (style.empty() ? "" : " style=\"" + style + "\"") + ">" + text + "</span>";
    }
    return out + "</div>\n<p class=\"legend\">As the marked test shows the faults: a wrong word "
                 "framed in red (or white on red), a repeated error underlined, a space fault "
                 "as \"_\".</p>\n";
}

std::string reasonsText(const AlignedRow& row) {
    std::string out;
    for (Reason reason : row.reasons) {
        out += std::string(out.empty() ? "" : "; ") + reasonText(reason);
        const bool joined = reason == Reason::SplitWord || reason == Reason::MissingHyphen ||
                            reason == Reason::MissingApostrophe;
        // A pair found at the end of a source line holds that line end.
        std::u16string pair = withoutCarriageReturns(row.joinedPair);
        std::erase(pair, u'\n');
        if (joined && !pair.empty())
            out += " (the source has \"" + html::escape(pair) + "\")";
    }
    return out;
}

std::string wordBlock(const std::string& cls, const std::string& source, const std::string& typed,
                      const std::string& why) {
    auto shown = [](const std::string& text) { return text.empty() ? "&nbsp;" : text; };
    return "<span class=\"w" + cls + "\"><span class=\"s\">" + shown(source) +
           "</span><span class=\"t\">" + shown(typed) + "</span>" +
           (why.empty() ? "" : "<span class=\"why\">" + why + "</span>") + "</span>";
}

// The source on both sides of the end of the compared part: what the marking compared, and what
// it left out.
std::string endingSection(const RunRecord& run) {
    if (!run.sourceText || !run.sourceEnd)
        return {};
    const std::u16string text = withoutCarriageReturns(*run.sourceText);
    // The end counts the carriage returns that `text` no longer has.
    const std::u16string& whole = *run.sourceText;
    const std::size_t wholeEnd = std::min<std::size_t>(std::max(0, *run.sourceEnd), whole.size());
    const std::size_t end =
        wholeEnd - std::size_t(std::count(whole.begin(), whole.begin() + long(wholeEnd), u'\r'));
    std::size_t from = end > 90 ? text.find_first_of(u" \n", end - 90) : 0;
    from = from == std::u16string::npos || from >= end ? 0 : from + (end > 90 ? 1 : 0);
    std::u16string after = text.substr(end, 90);
    if (end + 90 < text.size() && after.find_last_of(u" \n") != std::u16string::npos)
        after.erase(after.find_last_of(u" \n"));
    return "<h2>Where the compared part ended</h2>\n<p>The test was compared with the first " +
           std::to_string(wholeEnd) + " characters of the source.</p>\n<p class=\"ending\">" +
           (from > 0 ? "…" : "") + html::escape(text.substr(from, end - from)) +
           "<span class=\"endmark\">end of the compared part</span><span class=\"beyond\">" +
           html::escape(after) + (end + after.size() < text.size() ? "…" : "") + "</span></p>\n";
}

std::string wordByWord(const RunRecord& run) {
    const std::vector<AlignedRow> rows = alignWords(run);
    if (rows.empty())
        return {};
    std::string out = "<h2>Word by word</h2>\n<p>Above each typed word the word of the source it "
                      "stands for (in grey); under every mark its reason.</p>\n<div "
                      "class=\"words\">";
    for (const AlignedRow& row : rows) {
        const std::string cls = !row.reasons.empty() ? " marked"
                                : row.typed.empty()  ? " missing"
                                                     : "";
        const std::string lineEnd = "<span class=\"eol\">↵</span>";
        out += wordBlock(cls, html::escape(row.source) + (row.sourceLineEnd ? lineEnd : ""),
                         html::escape(row.typed) + (row.lineEnd ? lineEnd : ""), reasonsText(row));
        if (row.lineEnd)
            out += "<span class=\"br\"></span>";
    }
    return out + "</div>\n";
}

std::string layoutSection(const RunRecord& run) {
    const std::vector<LayoutFaultNote> notes = layoutFaultNotes(run);
    std::string out;
    for (const LayoutFaultNote& note : notes)
        out += "<li><span class=\"faultline\">" + html::escape(note.line) +
               "</span>: " + html::escape(note.counted) + ".</li>\n";
    if (run.excessWords && !run.excessWords->empty()) {
        out += "<li><span class=\"faultline\">Excess words:</span> ";
        for (std::size_t i = 0; i < run.excessWords->size(); ++i)
            out += (i ? ", " : "") + html::escape(marking::trim((*run.excessWords)[i]));
        out += " (typed more often than the source has them; a doubled word in brackets).</li>\n";
    }
    if (out.empty())
        return {};
    return "<h2>Layout and excess words</h2>\n<ul class=\"faults\">\n" + out + "</ul>\n";
}

} // namespace

std::string testPage(const MarkedTest& test, int index, int count) {
    const RunRecord& run = test.run;
    const std::string name = html::escape(html::fileName(run.typedTest));
    std::string body = "<nav><a href=\"index.html\">← Class report</a> · test " +
                       std::to_string(index + 1) + " of " + std::to_string(count) + "</nav>\n";
    body += "<h1>" + name + "</h1>\n<p class=\"sub\">" + html::escape(run.typedTest) + "</p>\n";
    if (run.completed)
        body += figures(run);
    body += messages(run);
    body += reportSection(run);
    if (!run.typedText.empty())
        body += markedTest(run);
    if (run.completed) {
        body += wordByWord(run);
        body += endingSection(run);
        body += layoutSection(run);
    }
    return html::page(name, body);
}

} // namespace keystride::classmarking
