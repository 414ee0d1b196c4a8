// The class window under Qt Test on the off-screen platform: a folder marked through the
// window's own controls against keystride-mark's JSON, Cancel, sorting, a test's page of the
// report, the class's outputs and what the window says to bad input.
#include "class_window_fixture.h"

#include "platform/files/program_folder.h"
#include "results/class/class_csv.h"
#include "results/class/qt/class_table_model.h"
#include "results/run_json.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QProgressBar>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <filesystem>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

QString cell(const QTableView& table, int row, int column) {
    return table.model()->index(row, column).data().toString();
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A JSON number as the table shows it; "" for null.
QString shown(const nlohmann::json& value) {
    return value.is_null() ? QString() : QString::number(value.get<double>());
}

TEST_F(ClassWindowTest, MarksTheFolderThroughItsControlsAsKeystrideMarkDoes) {
    // Beside the class, tests that cannot be marked: too short, unrelated to the source, too
    // large to be read.
    std::string unrelated;
    for (int i = 0; i < 40; ++i)
        unrelated += "zebra quartz violin mango ";
    writeFile(fs::path(classFolder) / "x1 short.txt", "Too short.");
    writeFile(fs::path(classFolder) / "x2 unrelated.txt", unrelated);
    writeFile(fs::path(classFolder) / "x3 too large.txt", "");
    fs::resize_file(fs::path(classFolder) / "x3 too large.txt", MaxDocumentBytes + 1);
    const std::vector<std::string> before = namesIn(classFolder);
    // A teacher's Settings beside the program: whole multiples of 5, Courier checked.
    const TempFolder program;
    writeFile(program.file("Settings"), "N\r\nN\r\nJ\r\nN\r\nN\r\nN\r\nJ\r\nJ\r\n");
    const bool faces =
        markingFontsInstalled(FileSystem::real(), markingFontFolders(program.path().string()));
    openWindow(program.path().string());
    std::vector<int> progress;
    QObject::connect(&control<QProgressBar>("progressBar"), &QProgressBar::valueChanged,
                     [&](int value) { progress.push_back(value); });

    markThroughControls(source, classFolder);

    const std::vector<nlohmann::json> expected =
        markJson({"--settings", QString::fromStdString(program.file("Settings")), "--marking",
                  faces ? "font" : "colour"});
    // The teacher's settings make a difference, so the window read the ones beside it.
    EXPECT_NE(expected, markJson());
    const auto& tests = window->classTable().tests();
    ASSERT_EQ(tests.size(), expected.size());
    EXPECT_EQ(progress.size(), tests.size());
    EXPECT_EQ(progress.back(), static_cast<int>(tests.size()));
    auto& table = control<QTableView>("classTable");
    const QBarSet* bars =
        qobject_cast<QAbstractBarSeries*>(control<QChartView>("wpmChart").chart()->series().at(0))
            ->barSets()
            .at(0);
    ASSERT_EQ(bars->count(), static_cast<int>(tests.size()));
    for (std::size_t i = 0; i < tests.size(); ++i) {
        SCOPED_TRACE(tests[i].run.typedTest);
        const nlohmann::json& json = expected[i];
        const int row = static_cast<int>(i);
        EXPECT_EQ(nlohmann::json::parse(runRecordJson(tests[i].run)), json);
        EXPECT_EQ(cell(table, row, ClassTableModel::Words), shown(json["words_typed"]));
        EXPECT_EQ(cell(table, row, ClassTableModel::Strokes), shown(json["stroke_count"]));
        EXPECT_EQ(cell(table, row, ClassTableModel::Errors), shown(json["error_count"]));
        EXPECT_EQ(cell(table, row, ClassTableModel::Wpm), shown(json["wpm"]));
        EXPECT_EQ(bars->at(row), json["wpm"].is_null() ? 0.0 : json["wpm"].get<double>());
        for (const nlohmann::json& message : json["messages"])
            EXPECT_TRUE(cell(table, row, ClassTableModel::Message)
                            .contains(QString::fromStdString(message["title"])));
    }
    // Writing is off until the teacher ticks it: the folder holds what it held.
    EXPECT_EQ(namesIn(classFolder), before);
}

TEST_F(ClassWindowTest, CancelStopsBetweenTestsAndLeavesNoPartialFile) {
    // Enough tests that the marking still runs when the first one is shown.
    constexpr int Class = 60;
    const TempFolder big;
    const std::string make = "python3 '" KEYSTRIDE_SOURCE_DIR "/scripts/make-class.py' '" +
                             big.path().string() + "' " + std::to_string(Class) + " 2 >/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(big.path().string())); // "Resultaat.res" lands here
    openWindow(KEYSTRIDE_BIN_DIR, 1);
    control<QCheckBox>("writeOutputsBox").setChecked(true);
    QObject::connect(&control<QProgressBar>("progressBar"), &QProgressBar::valueChanged,
                     [this](int value) {
                         if (value == 1)
                             control<QPushButton>("cancelButton").click();
                     });

    markThroughControls(big.file("source.txt"), big.file("class"));
    QDir::setCurrent(previousFolder);

    const auto& tests = window->classTable().tests();
    ASSERT_GT(tests.size(), 0u);
    ASSERT_LT(tests.size(), std::size_t(Class)) << "the marking was not cancelled mid-way";
    // Each test in the table has its whole marked test and its one result line; the others have
    // nothing, and no temporary file is left.
    for (const auto& test : tests)
        EXPECT_TRUE(QByteArray::fromStdString(readFile(test.run.markedFile.value_or("")))
                        .trimmed()
                        .endsWith('}'))
            << test.run.typedTest;
    EXPECT_EQ(namesIn(big.file("class")).size(), Class + tests.size());
    const std::string results = readFile(big.file("Resultaat.res"));
    EXPECT_EQ(std::count(results.begin(), results.end(), '\n'), static_cast<long>(tests.size()));
    EXPECT_TRUE(control<QPushButton>("markButton").isEnabled());
}

TEST_F(ClassWindowTest, SortsByWpmAsNumbersAndExplainsTheTestInTheRowClicked) {
    writeFile(fs::path(classFolder) / "x1 empty.txt", "");
    openWindow().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    markThroughControls(source, classFolder);
    auto& table = control<QTableView>("classTable");
    BrowserStandIn browser;

    table.sortByColumn(ClassTableModel::Wpm, Qt::AscendingOrder);

    const int rows = table.model()->rowCount();
    ASSERT_EQ(rows, Learners + 1);
    EXPECT_EQ(cell(table, 0, ClassTableModel::Test), QStringLiteral("x1 empty.txt"));
    for (int row = 2; row < rows; ++row)
        EXPECT_LE(cell(table, row - 1, ClassTableModel::Wpm).toDouble(),
                  cell(table, row, ClassTableModel::Wpm).toDouble())
            << "row " << row;
    // The class has speeds of one digit and of two, which sort the other way round as text.
    EXPECT_LT(cell(table, 1, ClassTableModel::Wpm).toDouble(), 10);
    EXPECT_GE(cell(table, rows - 1, ClassTableModel::Wpm).toDouble(), 10);

    // A double-click as the view receives it (the first click, then the second one) on the
    // fastest test, which the sorting moved from its place in the class's order.
    const QPoint centre = table.visualRect(table.model()->index(rows - 1, 0)).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, centre);
    ASSERT_EQ(browser.shown.size(), 1);
    const QString page = QString::fromStdString(readFile(browser.shown[0].toStdString()));
    EXPECT_TRUE(page.contains(cell(table, rows - 1, ClassTableModel::Test)));
    EXPECT_FALSE(page.contains(cell(table, 1, ClassTableModel::Test))) << "another learner's page";
}

TEST_F(ClassWindowTest, SavesTheSpreadsheetAndTheReportAndShowsTheReportInTheBrowser) {
    openWindow();
    markThroughControls(source, classFolder);
    const auto& tests = window->classTable().tests();
    const TempFolder outputs;
    BrowserStandIn browser;

    chooseInNextFileDialog(QString::fromStdString(outputs.file("marks.csv")));
    control<QPushButton>("saveCsvButton").click();
    EXPECT_EQ(readFile(outputs.file("marks.csv")), classmarking::classCsv(tests));

    const QString reportFolder = QString::fromStdString(outputs.file("report"));
    QDir().mkpath(reportFolder);
    chooseInNextFileDialog(reportFolder);
    control<QPushButton>("saveReportButton").click();
    EXPECT_EQ(namesIn(reportFolder.toStdString()).size(), tests.size() + 1);
    control<QPushButton>("openReportButton").click();
    EXPECT_EQ(browser.shown, QStringList{reportFolder + QStringLiteral("/index.html")});
}

TEST_F(ClassWindowTest, BadChoicesGetAMessageAndMarkNothing) {
    const TempFolder empty;
    const struct {
        const char* name;
        std::string source;
        std::string folder;
        QString says;
    } cases[] = {
        {"no source", "", classFolder, "Choose the source document first."},
        {"no folder", source, "", "Choose the folder of speed tests first."},
        {"a file for a folder", source, source, "is not a folder"},
        {"a folder without tests", source, empty.path().string(), "holds no speed tests"},
        {"a source that is not there", folder.file("missing.txt"), classFolder,
         QString::fromStdString(folder.file("missing.txt"))},
    };
    openWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString said;
        answerNextDialog<QMessageBox>([&said](QMessageBox& box) {
            said = box.text();
            box.accept();
        });
        markThroughControls(c.source, c.folder);
        EXPECT_TRUE(said.contains(c.says)) << said.toStdString();
        EXPECT_EQ(window->classTable().rowCount(), 0);
        EXPECT_TRUE(control<QPushButton>("markButton").isEnabled());
        EXPECT_FALSE(control<QPushButton>("saveCsvButton").isEnabled());
    }
}

} // namespace
} // namespace keystride::testing
