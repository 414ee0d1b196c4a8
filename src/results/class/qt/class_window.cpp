#include "results/class/qt/class_window.h"

#include "documents/document_commands.h"
#include "platform/desktop/qt/qt_services.h"
#include "platform/files/program_folder.h"
#include "results/class/class_csv.h"
#include "results/class/class_report.h"
#include "results/class/qt/class_marking_job.h"
#include "results/class/qt/class_table_model.h"
#include "results/class/qt/class_wpm_chart.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace keystride {

namespace {

const QString WindowTitle = QStringLiteral("Class Marking");

// Every format the main window opens, all of them offered at once, then the main window's own
// choices.
QString sourceFilter() {
    return QStringLiteral("Documents (*.rtf *.txt *.doc *.docx *.odt);;") +
           qtFileFilter(documenttexts::OpenFilter);
}

QPushButton* button(const QString& objectName, const QString& text, const QString& accessible,
                    QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAccessibleName(accessible);
    return b;
}

QLineEdit* pathEdit(const QString& objectName, const QString& accessible, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setAccessibleName(accessible);
    edit->setClearButtonEnabled(true);
    return edit;
}

// A row of a path and the button that chooses it.
QWidget* pathRow(QLineEdit* edit, QPushButton* choose, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(choose);
    return row;
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ClassWindow::ClassWindow(ClassWindowConfig config, QWidget* parent)
    : QMainWindow(parent), m_config(std::move(config)),
      m_fontMarking(
          markingFontsInstalled(FileSystem::real(), markingFontFolders(m_config.programFolder))),
      m_job(new ClassMarkingJob(this)), m_model(new ClassTableModel(this)),
      m_sorted(new QSortFilterProxyModel(this)) {
    setObjectName(QStringLiteral("ClassWindow"));
    setWindowTitle(WindowTitle);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(ClassTableModel::SortRole);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildChoices());
    layout->addWidget(buildMarkingBar());
    layout->addWidget(buildResults(), 1);
    layout->addWidget(buildOutputButtons());
    setCentralWidget(central);
    statusBar()->showMessage(
        QStringLiteral("Choose a source document and a folder of speed tests."));

    connect(m_job, &ClassMarkingJob::testMarked, this, &ClassWindow::testMarked);
    connect(m_job, &ClassMarkingJob::finished, this, &ClassWindow::marked);
    setMarking(false);
    // Fits a 1280 x 720 screen with the desktop's panels.
    resize(1180, 640);
}

ClassWindow::~ClassWindow() = default;

QWidget* ClassWindow::buildChoices() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    m_source = pathEdit(QStringLiteral("sourceEdit"), QStringLiteral("Source document"), box);
    auto* chooseSource = button(QStringLiteral("chooseSourceButton"), QStringLiteral("C&hoose..."),
                                QStringLiteral("Choose the source document"), box);
    connect(chooseSource, &QPushButton::clicked, this, &ClassWindow::chooseSource);
    auto* sourceLabel = new QLabel(QStringLiteral("&Source document:"), box);
    sourceLabel->setBuddy(m_source);
    form->addRow(sourceLabel, pathRow(m_source, chooseSource, box));

    m_folder = pathEdit(QStringLiteral("folderEdit"), QStringLiteral("Folder of speed tests"), box);
    auto* chooseFolder = button(QStringLiteral("chooseFolderButton"), QStringLiteral("Ch&oose..."),
                                QStringLiteral("Choose the folder of speed tests"), box);
    connect(chooseFolder, &QPushButton::clicked, this, &ClassWindow::chooseFolder);
    auto* folderLabel = new QLabel(QStringLiteral("Speed &tests folder:"), box);
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, pathRow(m_folder, chooseFolder, box));
    // Enter in either field marks, as the "Mark Class" button does.
    connect(m_source, &QLineEdit::returnPressed, this, &ClassWindow::markClass);
    connect(m_folder, &QLineEdit::returnPressed, this, &ClassWindow::markClass);

    m_write = new QCheckBox(QStringLiteral("&Write marked tests (.rug) and result lines"), box);
    m_write->setObjectName(QStringLiteral("writeOutputsBox"));
    m_write->setAccessibleName(QStringLiteral("Write marked tests and result lines"));
    m_write->setToolTip(QStringLiteral("Saves each marked test beside it and adds its line to "
                                       "Resultaat.res in the current folder, as the main window "
                                       "does. Off: nothing is written but the class's outputs."));
    form->addRow(QString(), m_write);
    return box;
}

QWidget* ClassWindow::buildMarkingBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_mark = button(QStringLiteral("markButton"), QStringLiteral("&Mark Class"),
                    QStringLiteral("Mark the class"), bar);
    connect(m_mark, &QPushButton::clicked, this, &ClassWindow::markClass);
    m_cancel = button(QStringLiteral("cancelButton"), QStringLiteral("&Cancel"),
                      QStringLiteral("Cancel the marking"), bar);
    connect(m_cancel, &QPushButton::clicked, this, &ClassWindow::cancelMarking);
    m_progress = new QProgressBar(bar);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setAccessibleName(QStringLiteral("Tests marked"));
    m_progress->setFormat(QStringLiteral("%v of %m tests"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    layout->addWidget(m_mark);
    layout->addWidget(m_cancel);
    layout->addWidget(m_progress, 1);
    return bar;
}

QWidget* ClassWindow::buildResults() {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    m_table = new QTableView(splitter);
    m_table->setObjectName(QStringLiteral("classTable"));
    m_table->setAccessibleName(QStringLiteral("Class table"));
    m_table->setModel(m_sorted);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    // The class's own order until the teacher sorts by a column.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    connect(m_table, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { explainTest(index.row()); });

    auto* view = new QChartView(splitter);
    view->setObjectName(QStringLiteral("wpmChart"));
    view->setAccessibleName(QStringLiteral("Chart of the class's words per minute"));
    view->setRenderHint(QPainter::Antialiasing);
    m_chart = view->chart();
    m_chart->setTitle(QStringLiteral("Words per minute"));
    splitter->addWidget(m_table);
    splitter->addWidget(view);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    // The table's messages need the room more than the chart, whose bars are only numbered.
    splitter->setSizes({790, 350});
    return splitter;
}

QWidget* ClassWindow::buildOutputButtons() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_explain = button(QStringLiteral("explainButton"), QStringLiteral("&Explain Test"),
                       QStringLiteral("Explain the marks of the selected test"), bar);
    m_explain->setToolTip(QStringLiteral("Opens the selected test's page of the report in the web "
                                         "browser: every mark with its reason, ready to print."));
    connect(m_explain, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_table->currentIndex();
        explainTest(current.isValid() ? current.row() : 0);
    });
    m_saveCsv = button(QStringLiteral("saveCsvButton"), QStringLiteral("Save S&preadsheet..."),
                       QStringLiteral("Save the class as a CSV spreadsheet"), bar);
    connect(m_saveCsv, &QPushButton::clicked, this, &ClassWindow::saveCsv);
    m_saveReport = button(QStringLiteral("saveReportButton"), QStringLiteral("Save &Report..."),
                          QStringLiteral("Save the class's HTML report"), bar);
    connect(m_saveReport, &QPushButton::clicked, this, &ClassWindow::saveReport);
    m_openReport =
        button(QStringLiteral("openReportButton"), QStringLiteral("Open Report in &Browser"),
               QStringLiteral("Open the class's report in the web browser"), bar);
    connect(m_openReport, &QPushButton::clicked, this, &ClassWindow::openReport);
    layout->addWidget(m_explain);
    layout->addStretch(1);
    layout->addWidget(m_saveCsv);
    layout->addWidget(m_saveReport);
    layout->addWidget(m_openReport);
    return bar;
}

void ClassWindow::chooseSource() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("Choose the Source Document"),
                                     QFileInfo(m_source->text()).path(), sourceFilter());
    if (!chosen.isEmpty())
        m_source->setText(QDir::toNativeSeparators(chosen));
}

void ClassWindow::chooseFolder() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Choose the Folder of Speed Tests"), m_folder->text());
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

// The options of a marking of the chosen class; nullopt after saying what is missing.
std::optional<classmarking::ClassMarkingOptions> ClassWindow::markingOptions() {
    const QString source = m_source->text().trimmed();
    const QString folder = m_folder->text().trimmed();
    if (source.isEmpty()) {
        warn(QStringLiteral("Choose the source document first."));
        return std::nullopt;
    }
    if (!QFileInfo(folder).isDir()) {
        warn(folder.isEmpty() ? QStringLiteral("Choose the folder of speed tests first.")
                              : QStringLiteral("%1 is not a folder.").arg(folder));
        return std::nullopt;
    }
    classmarking::TestList list = classmarking::listTests({folder.toStdString()});
    if (!list.problems.empty() || list.tests.empty()) {
        warn(list.problems.empty()
                 ? QStringLiteral("The folder %1 holds no speed tests (.rtf, .txt, .doc, .docx or "
                                  ".odt files).")
                       .arg(folder)
                 : fromStd(list.problems.front()));
        return std::nullopt;
    }
    classmarking::ClassMarkingOptions options;
    options.source = source.toStdString();
    options.tests = std::move(list.tests);
    // Read at every marking, so that a change made in the main window's settings counts.
    options.settings =
        loadSettings(FileSystem::real(),
                     (std::filesystem::path(m_config.programFolder) / SettingsFileName).string());
    options.fontMarking = m_fontMarking;
    options.writeOutputs =
        m_write->isChecked() ? classmarking::WriteOutputs::Yes : classmarking::WriteOutputs::No;
    options.jobs = m_config.jobs;
    options.converterFolder = m_config.converterFolder;
    return options;
}

void ClassWindow::markClass() {
    if (m_job->isRunning())
        return;
    std::optional<classmarking::ClassMarkingOptions> options = markingOptions();
    if (!options) {
        emit markingFinished();
        return;
    }
    m_model->clear();
    showClassWpm(*m_chart, {});
    m_markedSource = options->source;
    m_savedReport.clear();
    m_scratchReport.reset();
    m_progress->setRange(0, static_cast<int>(options->tests.size()));
    m_progress->setValue(0);
    statusBar()->showMessage(QStringLiteral("Marking %1 tests...").arg(options->tests.size()));
    setMarking(true);
    m_job->start(std::move(*options));
}

void ClassWindow::cancelMarking() {
    if (!m_job->isRunning())
        return;
    m_job->cancel();
    m_cancel->setEnabled(false);
    statusBar()->showMessage(QStringLiteral("Cancelling: the tests begun are finished..."));
}

void ClassWindow::testMarked(int index, const classmarking::MarkedTest& test) {
    m_model->append(test);
    m_progress->setValue(index + 1);
}

void ClassWindow::marked(const classmarking::ClassMarking& result) {
    setMarking(false);
    if (!result.sourceProblem.empty()) {
        statusBar()->clearMessage();
        warn(fromStd(result.sourceProblem));
        emit markingFinished();
        return;
    }
    showClassWpm(*m_chart, m_model->tests());
    // The messages, last, take what the other columns leave; the faults no more than a fair
    // share, so that the messages stay in sight (their tips show the whole text).
    for (int column = 0; column < ClassTableModel::Message; ++column)
        m_table->resizeColumnToContents(column);
    m_table->setColumnWidth(ClassTableModel::Faults,
                            std::min(m_table->columnWidth(ClassTableModel::Faults),
                                     m_table->fontMetrics().averageCharWidth() * 28));
    const auto& tests = m_model->tests();
    const auto unmarked = std::count_if(tests.begin(), tests.end(),
                                        [](const auto& test) { return !test.run.completed; });
    // A test that could not be marked is counted apart, so the count names only real marks.
    const auto marked = static_cast<qsizetype>(tests.size()) - unmarked;
    QString status = result.cancelled ? QStringLiteral("Cancelled after %1 of %2 tests: %3 marked.")
                                            .arg(tests.size())
                                            .arg(m_progress->maximum())
                                            .arg(marked)
                                      : QStringLiteral("%1 tests marked.").arg(marked);
    if (unmarked > 0)
        status += QStringLiteral(" %1 could not be marked: see their messages.").arg(unmarked);
    statusBar()->showMessage(status);
    emit markingFinished();
}

void ClassWindow::setMarking(bool marking) {
    const bool haveClass = !marking && m_model->rowCount() > 0;
    m_mark->setEnabled(!marking);
    m_cancel->setEnabled(marking);
    m_write->setEnabled(!marking);
    for (QPushButton* output : {m_explain, m_saveCsv, m_saveReport, m_openReport})
        output->setEnabled(haveClass);
}

void ClassWindow::explainTest(int row) {
    const QModelIndex index = m_sorted->mapToSource(m_sorted->index(row, 0));
    if (index.isValid())
        showReportPage(fromStd(classmarking::testPageName(index.row(), m_model->rowCount())));
}

void ClassWindow::saveCsv() {
    const QString suggested = QDir(m_folder->text()).filePath(QStringLiteral("class.csv"));
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save the Class as a Spreadsheet"),
                                     suggested, QStringLiteral("CSV spreadsheets (*.csv)"));
    if (path.isEmpty())
        return;
    if (FileResult error =
            classmarking::writeClassCsv(FileSystem::real(), path.toStdString(), m_model->tests())) {
        warn(QStringLiteral("Cannot save the spreadsheet %1: %2")
                 .arg(path, fromStd(error->description)));
        return;
    }
    statusBar()->showMessage(QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path)));
}

bool ClassWindow::writeReportInto(const QString& folder) {
    if (FileResult error = classmarking::writeClassReport(FileSystem::real(), folder.toStdString(),
                                                          m_model->tests(), m_markedSource)) {
        warn(QStringLiteral("Cannot save the report in %1: %2")
                 .arg(folder, fromStd(error->description)));
        return false;
    }
    return true;
}

void ClassWindow::saveReport() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Choose the Report's Folder"), m_folder->text());
    if (folder.isEmpty() || !writeReportInto(folder))
        return;
    m_savedReport = folder;
    statusBar()->showMessage(
        QStringLiteral("Saved the report in %1").arg(QDir::toNativeSeparators(folder)));
}

void ClassWindow::openReport() {
    showReportPage(QStringLiteral("index.html"));
}

QString ClassWindow::reportFolder() {
    if (!m_savedReport.isEmpty())
        return m_savedReport;
    if (!m_scratchReport) {
        auto scratch = std::make_unique<QTemporaryDir>();
        if (!scratch->isValid()) {
            warn(QStringLiteral("Cannot make a folder for the report: %1")
                     .arg(scratch->errorString()));
            return {};
        }
        if (!writeReportInto(scratch->path()))
            return {};
        m_scratchReport = std::move(scratch);
    }
    return m_scratchReport->path();
}

void ClassWindow::showReportPage(const QString& name) {
    const QString folder = reportFolder();
    if (folder.isEmpty())
        return;
    const QString page = QDir(folder).filePath(name);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        warn(QStringLiteral("No web browser could be started to show %1.")
                 .arg(QDir::toNativeSeparators(page)));
}

void ClassWindow::warn(const QString& text) {
    QMessageBox::warning(this, WindowTitle, text);
}

void ClassWindow::closeEvent(QCloseEvent* event) {
    // The tests being marked are finished (with their files) while the window closes.
    m_job->cancel();
    event->accept();
}

} // namespace keystride
