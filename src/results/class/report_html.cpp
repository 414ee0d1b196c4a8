#include "report_html.h"

#include "platform/richtext/format_json.h"
#include "platform/richtext/rich_text.h"

#include <algorithm>
#include <cmath>

namespace keystride::classmarking::html {

namespace {

// One stylesheet for every page: calm on screen, and a learner's page prints on its own with
// the marks in colour.
const char* const Style = R"css(
:root { --ink: #1f2933; --muted: #5f6b7a; --line: #d9dee5; --soft: #f4f6f8; --accent: #2f5d8a;
        --mark: #c0262d; --mark-soft: #fbe9ea; }
* { box-sizing: border-box; }
body { margin: 0; color: var(--ink); background: #fff;
       font: 15px/1.5 "DejaVu Sans", "Liberation Sans", Arial, sans-serif; }
main { max-width: 60rem; margin: 0 auto; padding: 1.5rem 1.5rem 3rem; }
h1 { font-size: 1.6rem; margin: 0.2rem 0 0.2rem; font-weight: 600; }
h2 { font-size: 1.15rem; margin: 2rem 0 0.6rem; padding-bottom: 0.25rem;
     border-bottom: 1px solid var(--line); font-weight: 600; }
p { margin: 0.4rem 0; }
a { color: var(--accent); }
.sub { color: var(--muted); margin: 0; overflow-wrap: anywhere; }
nav { font-size: 0.9rem; margin-bottom: 0.8rem; }
.cards { display: flex; flex-wrap: wrap; gap: 0.75rem; margin: 1rem 0; }
.card { border: 1px solid var(--line); border-radius: 6px; padding: 0.6rem 0.9rem;
        min-width: 9rem; background: var(--soft); }
.card .value { font-size: 1.35rem; font-weight: 600; display: block; }
.card .label { color: var(--muted); font-size: 0.85rem; }
.notice { border-left: 4px solid var(--mark); background: var(--mark-soft);
          padding: 0.5rem 0.8rem; margin: 0.8rem 0; }
table.class { border-collapse: collapse; width: 100%; font-size: 0.95rem; }
table.class th, table.class td { padding: 0.35rem 0.5rem; border-bottom: 1px solid var(--line);
                                 text-align: left; vertical-align: top; }
table.class th { color: var(--muted); font-weight: 600; font-size: 0.85rem; }
table.class td.n, table.class th.n { text-align: right; font-variant-numeric: tabular-nums; }
table.class tr.unmarked td { color: var(--muted); }
figure { margin: 1rem 0; }
figcaption { color: var(--muted); font-size: 0.9rem; margin-bottom: 0.3rem; }
svg { width: 100%; height: auto; font-family: inherit; }
svg .bar { fill: #6b8fb5; }
svg .label, svg .value { fill: var(--ink); font-size: 12px; }
svg .axis { stroke: var(--line); }
svg .median { stroke: var(--mark); stroke-dasharray: 4 3; }
pre.report, .pane { font-family: "Courier New", "Liberation Mono", monospace; font-size: 14px;
                    white-space: pre-wrap; overflow-wrap: anywhere; border: 1px solid var(--line);
                    border-radius: 6px; padding: 0.8rem 1rem; margin: 0.5rem 0; }
pre.report { color: #b00000; background: #fff; }
.pane { line-height: 1.9; }
.f1 { border: solid #ff0000; border-width: 1px 0 1px 1px; }
.fr { border: solid #ff0000; border-width: 1px 0; }
.f2 { border: solid #ff0000; border-width: 1px 1px 1px 0; }
.f3 { border: 1px solid #ff0000; }
.fd { text-decoration: underline wavy #ff0000; }
.legend { color: var(--muted); font-size: 0.85rem; }
.words { line-height: 1.2; }
.w { display: inline-block; vertical-align: top; margin: 0 0.35rem 0.7rem 0; }
.w .s, .w .t { display: block; font-family: "Courier New", "Liberation Mono", monospace;
               white-space: pre; }
.w .s { color: var(--muted); font-size: 0.8rem; }
.w .t { font-size: 0.95rem; }
.w.marked .t { color: var(--mark); font-weight: 600; border-bottom: 2px solid var(--mark); }
.w .why { display: block; color: var(--mark); font-size: 0.75rem; max-width: 12rem;
          white-space: normal; }
.w.missing .t { color: var(--line); }
.br { display: block; height: 0; }
.eol { color: #9aa4b1; font-weight: normal; }
.ending { font-family: "Courier New", "Liberation Mono", monospace; white-space: pre-wrap;
          overflow-wrap: anywhere; }
.endmark { display: inline-block; border-left: 3px solid var(--accent); color: var(--accent);
           font: 0.75rem "DejaVu Sans", "Liberation Sans", Arial, sans-serif;
           padding: 0 0.4rem; margin: 0 0.3rem; vertical-align: middle; }
.beyond { color: #9aa4b1; }
ul.faults { padding-left: 1.2rem; }
ul.faults li { margin: 0.25rem 0; }
.faultline { color: var(--mark); font-weight: 600; }
@media print {
  body { font-size: 11pt; }
  main { max-width: none; padding: 0; }
  nav { display: none; }
  a { color: inherit; text-decoration: none; }
  h2 { break-after: avoid; }
  .card, .pane, pre.report, figure, tr, .w { break-inside: avoid; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
)css";

void appendEscaped(std::string& out, char16_t c) {
    switch (c) {
    case u'&':
        out += "&amp;";
        return;
    case u'<':
        out += "&lt;";
        return;
    case u'>':
        out += "&gt;";
        return;
    case u'"':
        out += "&quot;";
        return;
    case u'\'':
        out += "&#39;";
        return;
    default:
        break;
    }
    // HTML has no place for the other control characters.
    if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0x7F)
        c = 0xFFFD;
    out += toUtf8(std::u16string_view(&c, 1));
}

} // namespace

std::string escape(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += toUtf8(text.substr(i, 2));
            ++i;
        } else {
            appendEscaped(out, c);
        }
    }
    return out;
}

std::string escape(std::string_view utf8) {
    return escape(fromUtf8(utf8));
}

std::string page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           title + "</title>\n<style>" + Style + "</style>\n</head>\n<body>\n<main>\n" + body +
           "</main>\n</body>\n</html>\n";
}

std::string number(std::optional<double> value) {
    return value ? jsonNumber(*value).dump() : "–";
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string barChart(const std::string& caption, const std::vector<Bar>& bars,
                     std::optional<double> marker) {
    constexpr double Width = 760, LabelWidth = 280, ValueWidth = 60, Row = 24, Top = 8;
    double low = 0, high = 1;
    for (const Bar& bar : bars) {
        if (bar.value) {
            low = std::min(low, *bar.value);
            high = std::max(high, *bar.value);
        }
    }
    const double span = high - low;
    const double plot = Width - LabelWidth - ValueWidth;
    auto x = [&](double v) { return LabelWidth + (v - low) / span * plot; };
    const double height = Top * 2 + Row * double(bars.size());
    auto num = [](double v) { return jsonNumber(std::round(v * 10) / 10).dump(); };
    std::string svg = "<figure><figcaption>" + caption + "</figcaption>\n<svg viewBox=\"0 0 " +
                      num(Width) + " " + num(height) + "\" role=\"img\" aria-label=\"" + caption +
                      "\">\n";
    svg += "<line class=\"axis\" x1=\"" + num(x(0)) + "\" y1=\"0\" x2=\"" + num(x(0)) + "\" y2=\"" +
           num(height) + "\"/>\n";
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Bar& bar = bars[i];
        const double y = Top + Row * double(i);
        const std::string label =
            bar.link.empty() ? bar.label : "<a href=\"" + bar.link + "\">" + bar.label + "</a>";
        svg += "<text class=\"label\" x=\"" + num(LabelWidth - 8) + "\" y=\"" + num(y + 16) +
               "\" text-anchor=\"end\">" + label + "</text>";
        double end = x(0);
        if (bar.value) {
            const double left = std::min(x(0), x(*bar.value));
            end = std::max(x(0), x(*bar.value));
            svg += "<rect class=\"bar\" x=\"" + num(left) + "\" y=\"" + num(y + 4) + "\" width=\"" +
                   num(std::max(end - left, 1.0)) + "\" height=\"" + num(Row - 8) + "\" rx=\"2\"/>";
        }
        svg += "<text class=\"value\" x=\"" + num(end + 6) + "\" y=\"" + num(y + 16) + "\">" +
               bar.valueText + "</text>\n";
    }
    if (marker)
        svg += "<line class=\"median\" x1=\"" + num(x(*marker)) + "\" y1=\"0\" x2=\"" +
               num(x(*marker)) + "\" y2=\"" + num(height) + "\"/>\n";
    return svg + "</svg></figure>\n";
}

} // namespace keystride::classmarking::html
