#include "support/pane_conformance.h"

#include "platform/panes/memory_pane.h"

#include <algorithm>
#include <functional>
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
    // start, length, replacement, text after, caret after
    const std::tuple<int, int, std::u16string, std::u16string, int> rows[] = {
        {3, 0, u"x", u"ab\r\nxcd", 5}, // an insert between CR and LF goes after the LF
        {2, 1, u"", u"abcd", 2},       // a selection ending after the CR takes the LF
        {3, 1, u"", u"ab\r\ncd", 4},   // deleting the LF alone leaves the break
    };
    for (const auto& [start, length, replacement, text, caret] : rows) {
        MemoryPane pane;
        pane.setText(u"ab\r\ncd");
        pane.setSelStart(start);
        pane.setSelLength(length);
        pane.setSelText(replacement);
        EXPECT_EQ(std::pair(pane.text(), pane.selStart()), std::pair(text, caret)) << start;
        EXPECT_EQ(std::ssize(pane.paragraphSpacings()), 1 + std::ranges::count(text, u'\r'))
            << start;
    }
}

// Whatever sequence of operations the marking engine and the window make, the pane stays
// consistent: breaks are whole CR LF pairs, one paragraph format per paragraph, the formats
// cover the text in maximal spans, and the content survives the trip through the rich-text model
// and RTF.
TEST(MemoryPane, StaysConsistentUnderAnySequenceOfOperations) {
    std::mt19937 random(20261205);
    auto pick = [&](auto upTo) { return static_cast<int>(random() % static_cast<unsigned>(upTo)); };
    const std::u16string pieces[] = {u"a", u"word ", u"\r\n", u"\r", u"\n", u"end.  ", u"é€", u""};
    const Colour palette[] = {colours::black, colours::red, colours::blue, colours::white};

    MemoryPane pane;
    const std::function<void()> operations[] = {
        [&] { pane.setSelStart(pick(pane.textLength() + 3) - 1); },
        [&] { pane.setSelLength(pick(8)); },
        [&] { pane.setSelText(pieces[pick(8)] + pieces[pick(8)]); },
        [&] { pane.setSelBold(pick(2) == 1); },
        [&] { pane.setSelColour(palette[pick(4)]); },
        [&] { pane.setSelBackground(pick(2) ? std::optional(palette[pick(4)]) : std::nullopt); },
        [&] {
            pane.setSelFontSize(pick(2) ? 9.75 : 12.0);
            pane.setSelFontName(pick(2) ? "Arial" : "Courier New");
        },
        [&] { pane.setSelLineSpacing(static_cast<LineSpacing>(pick(3))); },
        [&] { pane.setSelUnderline(pick(2) == 1); },
    };
    pane.setText(u"The first paragraph.\r\nThe second one.");
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        operations[pick(std::size(operations))]();
        const std::u16string text = pane.text();
        ASSERT_LE(pane.selStart() + pane.selLength(), static_cast<int>(text.size()));
        // As many CR LF pairs as CRs and as LFs: every break is whole.
        std::ptrdiff_t breaks = 0;
        for (std::size_t at = 0; (at = text.find(u"\r\n", at)) != text.npos; ++at)
            ++breaks;
        ASSERT_EQ(std::ranges::count(text, u'\r'), breaks);
        ASSERT_EQ(std::ranges::count(text, u'\n'), breaks);
        ASSERT_EQ(std::ssize(pane.paragraphSpacings()), breaks + 1);
        int covered = 0;
        const std::vector<FormatSpan> spans = pane.formatSpans();
        for (std::size_t i = 0; i < spans.size(); ++i) {
            ASSERT_EQ(spans[i].start, covered);
            ASSERT_GT(spans[i].length, 0);
            ASSERT_TRUE(i == 0 || spans[i].format != spans[i - 1].format); // spans are maximal
            covered += spans[i].length;
        }
        ASSERT_EQ(covered, static_cast<int>(text.size()));
    }

    MemoryPane copy;
    copy.setDocument(pane.document());
    MemoryPane fromRtf;
    fromRtf.setTextRtf(pane.textRtf());
    for (const MemoryPane* other : {&copy, &fromRtf})
        EXPECT_EQ(std::pair(other->text(), other->paragraphSpacings()),
                  std::pair(pane.text(), pane.paragraphSpacings()));
}

} // namespace
} // namespace keystride
