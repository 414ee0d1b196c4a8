#include "support/pane_conformance.h"

#include "platform/panes/memory_pane.h"

#include <random>

namespace keystride {
namespace {

struct MemoryPaneFactory {
    static std::unique_ptr<DocumentPane> create(const CharFormat& base) {
        return std::make_unique<MemoryPane>(base);
    }
};

} // namespace

namespace conformance {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, PaneConformance, ::testing::Types<MemoryPaneFactory>);
} // namespace conformance

namespace {

// The in-memory pane keeps CR and LF as two positions, as the marking engine counts them; no
// edit may leave half of a paragraph break behind.
TEST(MemoryPane, EditsNeverSplitAParagraphBreak) {
    struct Row {
        const char* name;
        int start, length;
        std::u16string text;
        std::u16string result;
        int caret;
    };
    const Row rows[] = {
        {"insert between CR and LF goes after the LF", 3, 0, u"x", u"ab\r\nxcd", 5},
        {"deleting the CR takes its LF", 2, 1, u"", u"abcd", 2},
        {"deleting the LF alone leaves the break", 3, 1, u"", u"ab\r\ncd", 4},
        {"a selection ending after the CR takes the LF", 1, 2, u"Z", u"aZcd", 2},
    };
    for (const Row& row : rows) {
        MemoryPane pane;
        pane.setText(u"ab\r\ncd");
        pane.setSelStart(row.start);
        pane.setSelLength(row.length);
        pane.setSelText(row.text);
        EXPECT_EQ(pane.text(), row.result) << row.name;
        EXPECT_EQ(pane.selStart(), row.caret) << row.name;
        EXPECT_EQ(pane.paragraphSpacings().size(),
                  pane.text().find(u'\r') == std::u16string::npos ? 1u : 2u)
            << row.name;
    }
}

// Whatever sequence of operations the marking engine and the window make, the pane stays
// consistent: breaks are whole CR LF pairs, one paragraph format per paragraph, the formats
// cover the text in maximal spans, and the content survives the trip through the rich-text model
// and RTF.
TEST(MemoryPane, StaysConsistentUnderAnySequenceOfOperations) {
    std::mt19937 random(20261205);
    auto pick = [&](int upTo) { return static_cast<int>(random() % static_cast<unsigned>(upTo)); };
    const std::u16string pieces[] = {u"a", u"word ", u"\r\n", u"\r", u"\n", u"end.  ", u"é€", u""};
    const Colour palette[] = {colours::black, colours::red, colours::blue, colours::white};

    MemoryPane pane;
    pane.setText(u"The first paragraph.\r\nThe second one.");
    for (int step = 0; step < 3000; ++step) {
        const int length = pane.textLength();
        switch (pick(9)) {
        case 0:
            pane.setSelStart(pick(length + 3) - 1);
            break;
        case 1:
            pane.setSelLength(pick(8));
            break;
        case 2:
            pane.setSelText(pieces[pick(8)] + pieces[pick(8)]);
            break;
        case 3:
            pane.setSelBold(pick(2) == 1);
            break;
        case 4:
            pane.setSelColour(palette[pick(4)]);
            break;
        case 5:
            pane.setSelBackground(pick(2) ? std::optional<Colour>(palette[pick(4)]) : std::nullopt);
            break;
        case 6:
            pane.setSelFontSize(pick(2) ? 9.75 : 12.0);
            pane.setSelFontName(pick(2) ? "Arial" : "Courier New");
            break;
        case 7:
            pane.setSelLineSpacing(static_cast<LineSpacing>(pick(3)));
            break;
        case 8:
            pane.setSelUnderline(pick(2) == 1);
            break;
        }

        const std::u16string text = pane.text();
        ASSERT_LE(pane.selStart() + pane.selLength(), static_cast<int>(text.size())) << step;
        int breaks = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r') {
                ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == u'\n') << "step " << step;
                ++breaks;
            } else if (text[i] == u'\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == u'\r') << "step " << step;
            }
        }
        ASSERT_EQ(pane.paragraphSpacings().size(), static_cast<std::size_t>(breaks) + 1) << step;
        int covered = 0;
        const std::vector<FormatSpan> spans = pane.formatSpans();
        for (std::size_t i = 0; i < spans.size(); ++i) {
            ASSERT_EQ(spans[i].start, covered) << step;
            ASSERT_GT(spans[i].length, 0) << step;
            // Spans are maximal: neighbours differ in format.
            if (i > 0) {
                ASSERT_NE(spans[i].format, spans[i - 1].format) << step;
            }
            covered += spans[i].length;
        }
        ASSERT_EQ(covered, static_cast<int>(text.size())) << step;
    }

    MemoryPane copy;
    copy.setDocument(pane.document());
    EXPECT_EQ(copy.text(), pane.text());
    EXPECT_EQ(copy.paragraphSpacings(), pane.paragraphSpacings());
    MemoryPane fromRtf;
    fromRtf.setTextRtf(pane.textRtf());
    EXPECT_EQ(fromRtf.text(), pane.text());
    EXPECT_EQ(fromRtf.paragraphSpacings(), pane.paragraphSpacings());
}

} // namespace
} // namespace keystride
