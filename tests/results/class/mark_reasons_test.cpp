// Every mark carries the reason the run gave it: each kind of fault typed into a copy of one
// source, marked, and found beside its source word with its reason in plain words.
#include "class_fixture.h"

#include "results/class/headless_host.h"
#include "results/class/word_alignment.h"

#include "platform/panes/memory_pane.h"

namespace keystride::classmarking::testing {
namespace {

using marking::RunRecord;

// A word at the start of a line is not found with a blank before it, so typing its full stop or
// comma apart makes the word itself an error, which the join then explains.
const std::u16string Source =
    u"The well-known farmer said something kind to one two children. Stop, look and listen. "
    u"They don't mind the long ride, and the end is near.\r\nWell, the train runs again next "
    u"week.\r\nSoon. Stop, look and listen.";

enum class Typing { OneSpace, TwoSpaces };

// The source typed as it stands (with two spaces after each sentence when asked), with every
// `find` replaced by `typed`.
RunRecord markCopy(const std::u16string& find, const std::u16string& typed, Typing typing) {
    std::u16string copy = Source;
    if (typing == Typing::TwoSpaces) {
        for (std::size_t p = copy.find(u". "); p != std::u16string::npos;
             p = copy.find(u". ", p + 3))
            copy.insert(p + 1, u" ");
    }
    for (std::size_t p = copy.find(find); p != std::u16string::npos;
         p = copy.find(find, p + typed.size()))
        copy.replace(p, find.size(), typed);
    SettingsStore settings;
    marking::WorkspaceState state;
    state.WriteProtected = true; // nothing is written
    HeadlessHost host;
    MemoryPane typedPane, sourcePane;
    sourcePane.setText(Source);
    typedPane.setText(copy);
    marking::MarkingEngine engine(
        {typedPane, sourcePane, settings, state, host, FileSystem::real(), "Resultaat.res"});
    return engine.StartMarkingRun();
}

TEST(MarkReasonsTest, EachKindOfFaultIsExplainedBesideItsWord) {
    const struct {
        const char16_t* find;
        const char16_t* typed;
        const char16_t* unit; // the typed word(s) the mark stands on
        Reason reason;
        const char16_t* joinedPair;
        Typing typing = Typing::OneSpace;
    } rows[] = {
        {u"farmer", u"framer", u"framer", Reason::WrongWord, u""},
        {u"something", u"some thing", u"some thing", Reason::SplitWord, u"something"},
        {u"well-known", u"well known", u"well known", Reason::MissingHyphen, u"well-known"},
        {u"don't", u"don t", u"don t", Reason::MissingApostrophe, u"don't"},
        {u"Soon.", u"Soon .", u"Soon .", Reason::DetachedFullStop, u"Soon."},
        {u"Well,", u"Well ,", u"Well ,", Reason::DetachedComma, u"Well,"},
        {u"one two", u"onetwo", u"onetwo", Reason::WordsJoined, u""},
        {u"children. Stop", u"children.Stop", u"children.Stop,", Reason::FullStopInside, u""},
        {u"said", u"sa?id", u"sa?id", Reason::MarkInside, u""},
        {u"the long", u"the the long", u"the", Reason::DoubledWord, u""},
        // Typed twice: the second is a repeat of the first.
        {u"Stop, look", u"Stop,look", u"Stop,look", Reason::RepeatedError, u""},
        {u"kind to one", u"kind to kind one", u"kind", Reason::ExcessWord, u""},
        {u"the long", u"the  long", u"the", Reason::SpaceTooMany, u""},
        {u"listen.  They", u"listen. They", u"listen.", Reason::MissingSecondSpace, u"",
         Typing::TwoSpaces},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.typed));
        const RunRecord run = markCopy(row.find, row.typed, row.typing);
        ASSERT_TRUE(run.completed);
        const std::vector<AlignedRow> aligned = alignWords(run);
        const auto marked = std::find_if(aligned.begin(), aligned.end(), [&](const AlignedRow& r) {
            return r.typed == row.unit &&
                   std::find(r.reasons.begin(), r.reasons.end(), row.reason) != r.reasons.end();
        });
        ASSERT_NE(marked, aligned.end());
        EXPECT_EQ(marked->reasons, std::vector<Reason>{row.reason});
        EXPECT_EQ(marked->joinedPair, row.joinedPair);
    }
}

using MarkAlignmentTest = ClassFixture;

// The alignment may place words as it likes, but never loses a mark: every entry of the error
// list and every repeat is on some typed word, and as many excess words as the run counted.
TEST_F(MarkAlignmentTest, EveryMarkOfTheClassStandsOnATypedWord) {
    for (const MarkedTest& test : markClass(options()).tests) {
        SCOPED_TRACE(test.chosen);
        const RunRecord& run = test.run;
        if (!run.completed)
            continue;
        std::map<Reason, int> shown, given;
        for (const AlignedRow& row : alignWords(run)) {
            for (Reason reason : row.reasons)
                ++shown[reason];
        }
        for (const ReasonCount& rc : reasonCounts(run))
            given[rc.reason] = rc.count;
        given.erase(Reason::LayoutFault);
        EXPECT_LE(shown[Reason::ExcessWord], given[Reason::ExcessWord]);
        shown.erase(Reason::ExcessWord);
        given.erase(Reason::ExcessWord);
        EXPECT_EQ(shown, given);
    }
}

} // namespace
} // namespace keystride::classmarking::testing
