// What a test marked in the window gives out: printed through the real printing to a PDF, the
// marking faces are embedded and the frames show round the wrong words; and its marks, counts
// and report are exactly what keystride-mark gives for the same files.
#include "platform/files/program_folder.h"
#include "results/run_json.h"
#include "support/qt/qt_application.h"
#include "support/scripted_services.h"
#include "workspace/qt/spoed.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace keystride {
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

bool haveProgram(const char* name) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

QString q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

class WindowOutput : public ::testing::Test {
protected:
    WindowOutput() {
        testing::qtApplication();
        std::random_device random;
        folder = fs::temp_directory_path() /
                 ("keystride-output-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(folder);
        m_previous = fs::current_path();
        fs::current_path(folder);
    }
    ~WindowOutput() override {
        window.reset();
        fs::current_path(m_previous);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    bool fontsBuilt() const {
        for (std::string_view name : MarkingFontFiles) {
            if (!fs::exists(fs::path(KEYSTRIDE_BIN_DIR) / "fonts" / name))
                return false;
        }
        return true;
    }

    // The window with the program folder `folder`, holding the shipped Settings and, when asked
    // for, the marking fonts.
    void openWindow(bool withFonts, Printing* printer) {
        fs::copy_file(fs::path(KEYSTRIDE_SOURCE_DIR) / "data" / "Settings", folder / "Settings");
        if (withFonts) {
            fs::create_directories(folder / "fonts");
            for (std::string_view name : MarkingFontFiles)
                fs::copy_file(fs::path(KEYSTRIDE_BIN_DIR) / "fonts" / name,
                              folder / "fonts" / name);
        }
        window = std::make_unique<Spoed>(folder.string(),
                                         SpoedServices{&messages, &dialogs, printer, &clock});
        window->setTerminateHandler([] {});
        window->startUp();
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }

    // Opens the source and the test through the menus and presses F12.
    void markInWindow(const fs::path& source, const fs::path& test) {
        dialogs.queuePath(source.string());
        window->findChild<QAction*>("mnuOpenorigin")->trigger();
        dialogs.queuePath(test.string());
        window->findChild<QAction*>("mnuTypedDoc")->trigger();
        messages.clear();
        QTest::keyClick(window.get(), Qt::Key_F12);
        for (const auto& shown : messages.shown())
            ADD_FAILURE() << "the run said: " << shown.title << ": " << shown.text;
    }

    fs::path folder;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting scriptedPrinting;
    ManualClock clock;
    std::unique_ptr<Spoed> window;

private:
    fs::path m_previous;
};

// ---- printing ----------------------------------------------------------------------------------

bool isRed(QRgb p) {
    return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
}
bool isDark(QRgb p) {
    return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90;
}

// The longest run of red pixels in row `y`.
int longestRedRun(const QImage& image, int y) {
    int best = 0;
    int run = 0;
    for (int x = 0; x < image.width(); ++x) {
        run = isRed(image.pixel(x, y)) ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

TEST_F(WindowOutput, AFontMarkedTestPrintsWithItsFramesEmbedded) {
    if (!fontsBuilt())
        GTEST_SKIP() << "the marking fonts were not built (no fontforge)";
    if (!haveProgram("pdffonts") || !haveProgram("pdftoppm"))
        GTEST_SKIP() << "pdffonts and pdftoppm (poppler-utils) are not installed";

    const fs::path pdf = folder / "printed.pdf";
    QtPrinting printing;
    printing.setPrinterDialog([&pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return true;
    });
    openWindow(true, &printing);
    ASSERT_TRUE(window->state().FontMarking);

    // The first line is copied without a fault; the second has a wrong word, a word of two
    // letters wrong and a doubled word.
    std::ofstream(folder / "source.txt")
        << "Every learner types this first line without a single fault.\r\n"
           "Then the second line follows with a few words typed wrongly by the learner on "
           "purpose, so that the marks show in the printed test.";
    std::ofstream(folder / "test.txt")
        << "Every learner types this first line without a single fault.\r\n"
           "Then the secnod line follows with a a few words typed wrongly bx the learner on "
           "purpose, so that the marks show in the printed test.";
    markInWindow(folder / "source.txt", folder / "test.txt");
    ASSERT_TRUE(window->engine()->lastRun().completed);
    ASSERT_GE(window->engine()->lastRun().errorCount.value_or(0), 2);

    window->findChild<QAction*>("mnuPrint")->trigger();
    ASSERT_TRUE(fs::exists(pdf));

    const std::optional<std::string> fonts = commandOutput("pdffonts", {q(pdf)});
    ASSERT_TRUE(fonts);
    // Every wrong word of three letters or more opens, continues and closes a frame; "bx" is
    // framed whole; repeated words would show in the wavy face.
    for (const char* face : {"Courier1", "Courierraam", "Courier2", "Courier3"})
        EXPECT_NE(fonts->find(face), std::string::npos) << face << " missing in\n" << *fonts;
    const bool repeats = !window->engine()
                              ->lastRun()
                              .repeats.value_or(std::vector<marking::RunRecord::Repeat>{})
                              .empty();
    EXPECT_EQ(fonts->find("DoCourier") != std::string::npos, repeats) << *fonts;

    ASSERT_TRUE(commandOutput(
        "pdftoppm", {"-png", "-r", "100", "-f", "1", "-l", "1", q(pdf), q(folder / "page")}));
    QImage page;
    for (const char* name : {"page-1.png", "page-01.png", "page-001.png"}) {
        if (page.load(QString::fromStdString((folder / name).string())))
            break;
    }
    ASSERT_FALSE(page.isNull());
    if (const char* keep = std::getenv("KEYSTRIDE_KEEP_PRINT"))
        page.save(QString::fromUtf8(keep));

    // The lines of print: bands of rows with ink, top to bottom. The first is the heading with
    // the file name, the second the test's first line, copied without a fault: neither has red.
    std::vector<std::pair<int, int>> lines;
    for (int y = 0; y < page.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < page.width() && !ink; ++x)
            ink = isDark(page.pixel(x, y)) || isRed(page.pixel(x, y));
        if (ink && (lines.empty() || lines.back().second < y - 1))
            lines.emplace_back(y, y);
        else if (ink)
            lines.back().second = y;
    }
    ASSERT_GE(lines.size(), 4u);
    for (int line : {0, 1}) {
        for (int y = lines[line].first; y <= lines[line].second; ++y)
            EXPECT_EQ(longestRedRun(page, y), 0)
                << "red in unmarked line " << line << ", row " << y;
    }
    const int firstTextRow = lines[1].second - 16;
    // A framed word: a long red rule, red letters below it and a second rule under them.
    // Five characters are about 50 pixels wide.
    int topRule = -1;
    for (int y = firstTextRow + 16; y < page.height() && topRule < 0; ++y) {
        if (longestRedRun(page, y) >= 40)
            topRule = y;
    }
    ASSERT_GE(topRule, 0) << "no frame rule found";
    int lettersBelow = 0;
    int bottomRule = -1;
    for (int y = topRule + 3; y < topRule + 24 && y < page.height(); ++y) {
        const int run = longestRedRun(page, y);
        if (run >= 40 && lettersBelow > 0) {
            bottomRule = y;
            break;
        }
        if (run > 0 && run < 40)
            ++lettersBelow;
    }
    EXPECT_GT(lettersBelow, 3) << "no red letters inside the frame";
    EXPECT_GT(bottomRule, topRule + 8) << "no rule under the framed letters";
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
    const bool withFonts = fontsBuilt();
    openWindow(withFonts, &scriptedPrinting);
    fs::copy_file(examples / "source.txt", folder / "source.txt");

    for (const char* name : {"learner1.txt", "learner2.txt", "learner3.rtf"}) {
        SCOPED_TRACE(name);
        fs::copy_file(examples / name, folder / name);
        // Whatever the window's marking is, the tool is told to use the same.
        const std::optional<std::string> line =
            commandOutput(q(cli), {"--json", "--no-write", "--settings", q(folder / "Settings"),
                                   "--marking", window->state().FontMarking ? "font" : "colour",
                                   q(folder / "source.txt"), q(folder / name)});
        ASSERT_TRUE(line) << "keystride-mark failed";

        markInWindow(folder / "source.txt", folder / name);
        const marking::RunRecord& run = window->engine()->lastRun();
        ASSERT_TRUE(run.completed);
        const std::string mine = runRecordJson(run);
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
} // namespace keystride
