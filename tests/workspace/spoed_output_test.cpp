// What a test marked in the window gives out: printed to a PDF, the marking faces are embedded;
// and its marks, counts and report are exactly what keystride-mark gives for the same files.
#include "platform/files/program_folder.h"
#include "run_json.h"
#include "spoed_fixture.h"

#include <QProcess>
#include <QStandardPaths>
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
    void openWindowWith(bool withFonts, Printing* printer) {
        fs::copy_file(fs::path(KEYSTRIDE_SOURCE_DIR) / "data" / "Settings",
                      folder.path() / "Settings");
        if (withFonts) {
            fs::create_directories(folder.path() / "fonts");
            for (std::string_view name : MarkingFontFiles)
                fs::copy_file(fs::path(KEYSTRIDE_BIN_DIR) / "fonts" / name,
                              folder.path() / "fonts" / name);
        }
        openWindow(printer);
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

TEST_F(WindowOutput, AFontMarkedTestPrintsWithTheMarkingFacesEmbedded) {
    if (!fontsBuilt())
        GTEST_SKIP() << "the marking fonts were not built (no fontforge)";
    if (QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        GTEST_SKIP() << "pdffonts (poppler-utils) is not installed";

    const fs::path pdf = folder.path() / "printed.pdf";
    QtPrinting pdfPrinting;
    pdfPrinting.setPrinterDialog([&pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(q(pdf));
        return true;
    });
    openWindowWith(true, &pdfPrinting);
    ASSERT_TRUE(window->state().FontMarking);

    // A wrong word, a word of two letters wrong and a doubled word.
    writeFile(folder.path() / "source.txt",
              "Then the second line follows with a few words typed wrongly by the learner on "
              "purpose, so that the marks show in the printed test.");
    writeFile(folder.path() / "test.txt",
              "Then the secnod line follows with a a few words typed wrongly bx the learner on "
              "purpose, so that the marks show in the printed test.");
    markInWindow(folder.path() / "source.txt", folder.path() / "test.txt");
    ASSERT_TRUE(window->engine()->lastRun().completed);
    ASSERT_GE(window->engine()->lastRun().errorCount.value_or(0), 2);

    action("mnuPrint")->trigger();
    const std::optional<std::string> fonts = commandOutput("pdffonts", {q(pdf)});
    ASSERT_TRUE(fonts);
    // A wrong word of three letters or more opens, continues and closes a frame; "bx" is framed
    // whole; repeated words would show in the wavy face.
    for (const char* face : {"Courier1", "Courierraam", "Courier2", "Courier3"})
        EXPECT_NE(fonts->find(face), std::string::npos) << face << " missing in\n" << *fonts;
    const bool repeats = !window->engine()
                              ->lastRun()
                              .repeats.value_or(std::vector<marking::RunRecord::Repeat>{})
                              .empty();
    EXPECT_EQ(fonts->find("DoCourier") != std::string::npos, repeats) << *fonts;
}

// ---- the same marks as keystride-mark ----------------------------------------------------------

// The JSON value of `key` in a one-line object (objects and arrays whole).
std::string jsonValue(const std::string& json, const std::string& key) {
    const std::string needle = "\"" + key + "\":";
    std::size_t at = json.find(needle);
    if (at == std::string::npos)
        return "<missing>";
    at += needle.size();
    std::size_t end = at;
    int depth = 0;
    bool inString = false;
    for (; end < json.size(); ++end) {
        const char c = json[end];
        if (inString) {
            if (c == '\\')
                ++end;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"')
            inString = true;
        else if (c == '[' || c == '{')
            ++depth;
        else if (c == ']' || c == '}') {
            if (depth == 0)
                break;
            --depth;
        } else if (c == ',' && depth == 0)
            break;
    }
    return json.substr(at, end - at);
}

TEST_F(WindowOutput, TheWindowMarksAsKeystrideMarkDoes) {
    const fs::path cli = fs::path(KEYSTRIDE_BIN_DIR) / "keystride-mark";
    if (!fs::exists(cli))
        GTEST_SKIP() << "keystride-mark is not built";
    const fs::path examples = fs::path(KEYSTRIDE_SOURCE_DIR) / "examples";
    openWindowWith(fontsBuilt(), nullptr);
    fs::copy_file(examples / "source.txt", folder.path() / "source.txt");

    for (const char* name : {"learner1.txt", "learner2.txt", "learner3.rtf"}) {
        SCOPED_TRACE(name);
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
        const std::string mine =
            runRecordJson(run, window->RichTextBox1().text(), window->RichTextBox1().formatSpans());
        for (const char* key :
             {"completed", "source_end", "end_found", "stroke_count", "source_words", "typed_words",
              "errors", "repeats", "excess_words", "excess_text", "error_count", "wpm", "report",
              "typed_text", "runs"})
            EXPECT_EQ(jsonValue(mine, key), jsonValue(*line, key)) << key;
        // The next test is opened on an unmarked pane.
        window->RichTextBox1().setText(u"");
    }
}

} // namespace
} // namespace keystride::testing
