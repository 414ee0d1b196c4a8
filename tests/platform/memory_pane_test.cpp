#include "support/pane_conformance.h"

#include "platform/panes/memory_pane.h"

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

} // namespace
} // namespace keystride
