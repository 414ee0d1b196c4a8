// The class window: the teacher chooses a source document and a folder of speed tests, marks
// them all at once on a worker thread, reads the class as a table and a chart of its speeds,
// opens any test's explanation, and saves the class as a spreadsheet and as an HTML report.
// It marks with the main window's "Settings" file and marking faces, each test on a fresh
// state, so its marks are those keystride-mark gives for the same files.
#pragma once

#include "results/class/class_marking.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QChart;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTemporaryDir;

namespace keystride {

class ClassMarkingJob;
class ClassTableModel;

struct ClassWindowConfig {
    // The program's folder: "Settings" and the marking faces.
    std::string programFolder;
    // Where Docx2Rtf is looked for when it is not on the PATH: the program's own folder.
    std::string converterFolder;
    // Threads marking at once; 0 is one per core.
    int jobs = 0;
};

class ClassWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ClassWindow(ClassWindowConfig config, QWidget* parent = nullptr);
    ~ClassWindow() override;

    // The commands behind the window's buttons.
    void chooseSource();
    void chooseFolder();
    void markClass();
    void cancelMarking();
    void saveCsv();
    void saveReport();
    void openReport();
    // Shows the report's page of the test in `row` of the table as sorted, in the browser.
    void explainTest(int row);

    const ClassTableModel& classTable() const { return *m_model; }

signals:
    // A marking has ended: every test marked, cancelled, or refused with a message.
    void markingFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildChoices();
    QWidget* buildMarkingBar();
    QWidget* buildResults();
    QWidget* buildOutputButtons();
    std::optional<classmarking::ClassMarkingOptions> markingOptions();
    void testMarked(int index, const classmarking::MarkedTest& test);
    void marked(const classmarking::ClassMarking& result);
    void setMarking(bool marking);
    bool writeReportInto(const QString& folder);
    // The folder of the class's report: the one saved last, else one of the window's own,
    // written when first needed; "" after saying why there is none.
    QString reportFolder();
    void showReportPage(const QString& name);
    void warn(const QString& text);

    ClassWindowConfig m_config;
    bool m_fontMarking = false;
    std::string m_markedSource; // the source of the class in the table
    ClassMarkingJob* m_job;
    ClassTableModel* m_model;
    QSortFilterProxyModel* m_sorted;
    QLineEdit* m_source = nullptr;
    QLineEdit* m_folder = nullptr;
    QCheckBox* m_write = nullptr;
    QPushButton* m_mark = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progress = nullptr;
    QTableView* m_table = nullptr;
    QChart* m_chart = nullptr;
    QPushButton* m_explain = nullptr;
    QPushButton* m_saveCsv = nullptr;
    QPushButton* m_saveReport = nullptr;
    QPushButton* m_openReport = nullptr;
    // The report last saved for the class in the table, which the browser is shown.
    QString m_savedReport;
    // Else the report is written here for the browser; it goes with the window or the next
    // marking.
    std::unique_ptr<QTemporaryDir> m_scratchReport;
};

} // namespace keystride
