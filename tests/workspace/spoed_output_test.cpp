// A test marked in the window: its marks, counts and report are exactly what keystride-mark
// gives for the same files.
#include "platform/files/program_folder.h"
#include "results/run_json.h"
#include "spoed_fixture.h"

#include <nlohmann/json.hpp>

#include <QProcess>
#include <QtTest/QTest>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

// Standard output of a program; nullopt when it cannot be started or fails.
std::optional<std::string> commandOutput(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput().toStdString();
}

QString q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

class WindowOutput : public SpoedTest {
protected:
    static bool fontsBuilt() {
        for (std::string_view name : MarkingFontFiles) {
            if (!fs::exists(fs::path(KEYSTRIDE_BIN_DIR) / "fonts" / name))
                return false;
        }
        return true;
    }

    // The window over the shipped Settings and, when asked for, the marking fonts.
    void openWindowWith(bool withFonts) {
        fs::copy_file(fs::path(KEYSTRIDE_SOURCE_DIR) / "data" / "Settings",
                      folder.path() / "Settings");
        if (withFonts) {
            fs::create_directories(folder.path() / "fonts");
            for (std::string_view name : MarkingFontFiles)
                fs::copy_file(fs::path(KEYSTRIDE_BIN_DIR) / "fonts" / name,
                              folder.path() / "fonts" / name);
        }
        openWindow();
    }

    // Opens the source and the test through the menus and presses F12.
    void markInWindow(const fs::path& source, const fs::path& test) {
        dialogs.queuePath(source.string());
        action("mnuOpenorigin")->trigger();
        dialogs.queuePath(test.string());
        action("mnuTypedDoc")->trigger();
        messages.clear();
        QTest::keyClick(window.get(), Qt::Key_F12);
        for (const auto& shown : messages.shown())
            ADD_FAILURE() << "the run said: " << shown.title << ": " << shown.text;
    }
};

// ---- the same marks as keystride-mark ----------------------------------------------------------

TEST_F(WindowOutput, TheWindowMarksAsKeystrideMarkDoes) {
    const fs::path cli = fs::path(KEYSTRIDE_BIN_DIR) / "keystride-mark";
    if (!fs::exists(cli))
        GTEST_SKIP() << "keystride-mark is not built";
    const fs::path examples = fs::path(KEYSTRIDE_SOURCE_DIR) / "examples";
    openWindowWith(fontsBuilt());
    fs::copy_file(examples / "source.txt", folder.path() / "source.txt");

    for (const char* name : {"learner1.txt", "learner2.txt", "learner3.rtf"}) {
        SCOPED_TRACE(name);
        window->RichTextBox1().setText(u""); // each test is opened on an unmarked pane
        fs::copy_file(examples / name, folder.path() / name);
        // Whatever the window's marking is, the tool is told to use the same.
        const std::optional<std::string> line = commandOutput(
            q(cli), {"--json", "--no-write", "--settings", q(folder.path() / "Settings"),
                     "--marking", window->state().FontMarking ? "font" : "colour",
                     q(folder.path() / "source.txt"), q(folder.path() / name)});
        ASSERT_TRUE(line) << "keystride-mark failed";

        markInWindow(folder.path() / "source.txt", folder.path() / name);
        const marking::RunRecord& run = window->engine()->lastRun();
        ASSERT_TRUE(run.completed);
        const auto mine = nlohmann::json::parse(runRecordJson(run));
        const auto tools = nlohmann::json::parse(*line);
        const nlohmann::json missing = "<missing>";
        for (const char* key :
             {"completed", "source_end", "end_found", "stroke_count", "source_words", "typed_words",
              "errors", "repeats", "excess_words", "excess_text", "error_count", "wpm", "report",
              "typed_text", "runs"})
            EXPECT_EQ(mine.value(key, missing), tools.value(key, missing)) << key;
    }
    // Marked once, the test is refused and the open dialog is offered for the next one.
    const std::size_t asked = dialogs.asked().size();
    QTest::keyClick(window.get(), Qt::Key_F12);
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_EQ(messages.shown().back().title, "!");
    EXPECT_EQ(dialogs.asked().size(), asked + 1);
}

} // namespace
} // namespace keystride::testing
