#include "workspace/qt/spoed.h"

#include "about/qt/about_box.h"
#include "documents/line_spacing.h"
#include "documents/qt/waarskuwing.h"
#include "documents/zoom.h"
#include "platform/desktop/qt/animation_player.h"
#include "platform/files/program_folder.h"
#include "settings/qt/settings_dialog.h"
#include "workspace/qt/spoed_icons.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

namespace keystride {

namespace {

// Positions are given in twips; the screen shows 15 twips a pixel.
constexpr int px(int twips) {
    return twips / 15;
}

QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

QColor qColour(Colour c) {
    return QColor(c.red, c.green, c.blue);
}

// A label font by the system's face name, with metric-compatible families for machines that do
// not have the face, so captions keep the room the layout gives them.
QFont labelFont(const QString& face, QFont::StyleHint hint, double points, bool bold = false) {
    QFont font;
    QStringList families{face};
    switch (hint) {
    case QFont::Serif:
        families << QStringLiteral("Liberation Serif") << QStringLiteral("Tinos");
        break;
    case QFont::Monospace:
        families << QStringLiteral("Liberation Mono") << QStringLiteral("Cousine");
        break;
    default:
        families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans")
                 << QStringLiteral("Arimo");
        break;
    }
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

CharFormat paneFormat(double points) {
    CharFormat format;
    format.font = "Courier New";
    format.size = points;
    return format;
}

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Spoed::Spoed(const std::string& programFolder, SpoedServices services, QWidget* parent)
    : QMainWindow(parent), m_programFolder(programFolder), m_services(services) {
    setObjectName(QStringLiteral("Spoed"));
    setWindowTitle(QString::fromUtf8(workspacetexts::WindowTitle));

    if (!m_services.messages)
        m_services.messages = (m_qtMessages = std::make_unique<QtMessageBoxes>(this)).get();
    if (!m_services.dialogs)
        m_services.dialogs = (m_qtDialogs = std::make_unique<QtFileDialogs>(this)).get();
    if (!m_services.printing)
        m_services.printing = (m_qtPrinting = std::make_unique<QtPrinting>(this)).get();
    if (!m_services.clock)
        m_services.clock = (m_qtClock = std::make_unique<QtClock>()).get();
    if (!m_services.processes)
        m_services.processes = (m_qtProcesses = std::make_unique<QtProcessLauncher>()).get();
    if (!m_services.files)
        m_services.files = &FileSystem::real();

    m_terminate = [] { QCoreApplication::exit(0); };

    buildControls();
    buildMenus();
    placeControls();

    m_context = std::make_unique<WorkspaceContext>(
        WorkspaceContext{*m_typed, *m_source, m_state, m_settings, *this, *m_services.messages,
                         *m_services.dialogs, *m_services.printing, *m_services.clock,
                         *m_services.processes, *m_services.files, m_programFolder, "."});
    m_commands = std::make_unique<WorkspaceCommands>(*m_context);
    // Exit's "Yes" runs the speed test's Save As; a Save As whose dialog is cancelled runs Exit
    // again, which asks once more (or terminates when there is nothing to save).
    m_commands->setSaveSpeedTestAs([this] { runDocumentCommand("mnuSave"); });
    DocumentHooks hooks;
    hooks.exit = [this] { runExit(); };
    hooks.clearSourceMarks = [this] { m_commands->ClearSourceMarks(); };
    m_documents = std::make_unique<WindowDocuments>(
        *m_context, std::move(hooks), QCoreApplication::applicationDirPath().toStdString());
    m_warningDialog = [this] {
        showWaarskuwing(this, joinPath(m_context->currentFolder, documenttexts::WarningMarker),
                        m_context->files);
    };
    m_engine = std::make_unique<marking::MarkingEngine>(marking::MarkingEnvironment{
        *m_typed, *m_source, m_settings, m_state, *this, *m_services.files});
    connectPanes();

    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // A close that follows the session's end is not the user's own.
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { m_sessionEnding = true; });
    }
}

Spoed::~Spoed() = default;

void Spoed::buildControls() {
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setMinimumSize(DesignWidth, DesignHeight);
    setCentralWidget(m_client);

    m_picture1 = new QFrame(m_client);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    setBackground(m_picture1, Qt::white);
    m_picture1->setFrameShape(QFrame::StyledPanel);
    m_picture1->installEventFilter(this);

    m_picture2 = new QFrame(m_client);
    m_picture2->setObjectName(QStringLiteral("Picture2"));
    setBackground(m_picture2, qColour(colours::paneGrey));
    m_picture2->setFrameShape(QFrame::StyledPanel);

    m_typed = std::make_unique<QtDocumentPane>(m_client);
    m_typed->editor()->setObjectName(QStringLiteral("RichTextBox1"));
    m_typed->setBaseFormat(paneFormat(12.0));
    m_typed->setText(u"");
    m_typed->setChanged(false);
    setBackground(m_typed->editor(), Qt::white);
    m_typed->editor()->setFrameShape(QFrame::NoFrame);

    m_source = std::make_unique<QtDocumentPane>(m_client);
    m_source->editor()->setObjectName(QStringLiteral("RichTextBox2"));
    m_source->setBaseFormat(paneFormat(9.75));
    m_source->setText(u"");
    m_source->setChanged(false);
    setBackground(m_source->editor(), qColour(colours::paneGrey));
    m_source->editor()->setFrameShape(QFrame::NoFrame);

    auto label = [this](const char* name, const QString& caption) {
        auto* l = new QLabel(caption, m_client);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    m_label2 = label("Label2", QStringLiteral("Speed test"));
    m_label3 = label("Label3", QString());
    m_label3->setFont(labelFont(QStringLiteral("Times New Roman"), QFont::Serif, 9));
    m_label1 = label("Label1", QStringLiteral("Source document"));
    m_label1->setWordWrap(true);
    // The captions have the room of the design's small dialog font before the buttons start.
    for (QLabel* caption : {m_label1, m_label2})
        caption->setFont(labelFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 8));
    m_label4 = label("Label4", QString());
    m_label4->setFont(labelFont(QStringLiteral("Times New Roman"), QFont::Serif, 9));
    m_label5 = label("Label5", QString());
    m_label5->setFont(labelFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 9.75, true));
    m_label5->setAlignment(Qt::AlignCenter);
    m_label6 = label("Label6", QStringLiteral("Please wait..."));
    m_label6->setFont(labelFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 16.5));
    {
        QPalette palette = m_label6->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 128, 0));
        m_label6->setPalette(palette);
    }
    m_label6->hide();
    for (QLabel* l : {m_label3, m_label4})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_animation1 = new QWidget(m_client);
    m_animation1->setObjectName(QStringLiteral("Animation1"));
    auto* animationLayout = new QVBoxLayout(m_animation1);
    animationLayout->setContentsMargins(0, 0, 0, 0);
    m_animation1->hide();

    auto button = [this](const char* name) {
        auto* b = new QPushButton(m_client);
        b->setObjectName(QString::fromLatin1(name));
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(20, 20));
        return b;
    };
    m_command1 = button("Command1");
    m_command1->setIcon(icons::openDocument(Qt::white));
    m_command1->setAccessibleName(QStringLiteral("Open speed test"));
    m_command4 = button("Command4");
    m_command4->setIcon(icons::printer());
    m_command4->setAccessibleName(QStringLiteral("Print speed test"));
    m_command2 = button("Command2");
    m_command2->setText(QStringLiteral("WPM"));
    m_command2->setFont(labelFont(QStringLiteral("Courier New"), QFont::Monospace, 9, true));
    m_command2->setToolTip(QStringLiteral("Calculate words/minute"));
    m_command3 = button("Command3");
    m_command3->setIcon(icons::openDocument(qColour(colours::paneGrey)));
    m_command3->setAccessibleName(QStringLiteral("Open source document"));
    m_command8 = button("Command8");
    m_command8->setIcon(icons::cutOff());
    m_command8->setToolTip(QStringLiteral("Click in source document to indicate cut-off position"));
    m_command7 = button("Command7");
    m_command7->hide();

    connect(m_command1, &QPushButton::clicked, this, [this] { runDocumentCommand("Command1"); });
    connect(m_command3, &QPushButton::clicked, this, [this] { runDocumentCommand("Command3"); });
    connect(m_command4, &QPushButton::clicked, this, [this] { runDocumentCommand("Command4"); });
    connect(m_command2, &QPushButton::clicked, this, [this] { startMarkingRun(); });
    connect(m_command8, &QPushButton::clicked, this, [this] { armCutOff(); });
    connect(m_command7, &QPushButton::clicked, this, [this] { (void)m_engine->SaveMarkedTest(); });
}

QAction* Spoed::addCommand(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& key, std::function<void()> run) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        // Shortcuts work wherever the focus is inside the window, the panes included.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

void Spoed::buildMenus() {
    QMenuBar* bar = menuBar();
    auto document = [this](const char* name) { return [this, name] { runDocumentCommand(name); }; };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* speedTest = bar->addMenu(QStringLiteral("Speed&Test "));
    speedTest->setObjectName(QStringLiteral("mnuDocument"));
    addCommand(speedTest, "mnuNewTest", QStringLiteral("&New "), {},
               [this] { m_commands->mnuNewTest(); });
    addCommand(speedTest, "mnuTypedDoc", QStringLiteral("&Open"),
               QKeySequence(Qt::CTRL | Qt::Key_O), document("mnuTypedDoc"));
    addCommand(speedTest, "mnuReOpen", QStringLiteral("ReOpen"), {}, document("mnuReOpen"));
    addCommand(speedTest, "mnuResults", QStringLiteral("Open Results"),
               QKeySequence(Qt::CTRL | Qt::Key_R), document("mnuResults"));
    addCommand(speedTest, "mnuMarked", QStringLiteral("Open Marked tests"), {},
               document("mnuMarked"));
    addCommand(speedTest, "mnuSave", QStringLiteral("&Save As..."),
               QKeySequence(Qt::CTRL | Qt::Key_S), document("mnuSave"));
    addCommand(speedTest, "mnuPrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
               document("mnuPrint"));
    separator(speedTest, "mnuSep2");
    addCommand(speedTest, "mnuExport", QStringLiteral("Export to MS Word"),
               QKeySequence(Qt::Key_F11), document("mnuExport"));
    separator(speedTest, "mnuSep");
    addCommand(speedTest, "mnuCalculate", QStringLiteral("Calculate WPM"),
               QKeySequence(Qt::Key_F12), [this] { startMarkingRun(); });
    separator(speedTest, "mnuSep1");

    QMenu* format = speedTest->addMenu(QStringLiteral("F&ormat"));
    format->setObjectName(QStringLiteral("mnuFormat"));
    m_single = addCommand(format, "mnuSingle", QStringLiteral("Single Line Spacing"), {},
                          [this] { mnuSingle(*m_context); });
    m_oneAndAHalf = addCommand(format, "mnu15LineSpacing", QStringLiteral("1.5 Line Spacing"), {},
                               [this] { mnu15LineSpacing(*m_context); });
    m_double = addCommand(format, "mnuDouble", QStringLiteral("Double Line Spacing"), {},
                          [this] { mnuDouble(*m_context); });
    // One group: the three show as alternatives, exactly one of them ticked.
    auto* spacing = new QActionGroup(this);
    for (QAction* action : {m_single, m_oneAndAHalf, m_double}) {
        action->setCheckable(true);
        spacing->addAction(action);
    }
    m_single->setChecked(true);
    // The commands set the marks themselves (setLineSpacingCheck), whatever Qt toggled.

    QMenu* zoom = format->addMenu(QStringLiteral("Zoom "));
    zoom->setObjectName(QStringLiteral("mnuZoom"));
    addCommand(zoom, "mnuminus", QStringLiteral("Out"), {}, [this] { mnuminus(*m_context); });
    addCommand(zoom, "mnuplus", QStringLiteral("In"), {}, [this] { mnuplus(*m_context); });

    QMenu* teacher = bar->addMenu(QStringLiteral("&SourceFiles  "));
    teacher->setObjectName(QStringLiteral("mnuTeacher"));
    addCommand(teacher, "mnuOpenorigin", QStringLiteral("&Open"), {}, document("mnuOpenorigin"));
    addCommand(teacher, "mnuSaveSource", QStringLiteral("Save As..."), {},
               document("mnuSaveSource"));
    addCommand(teacher, "mnuPrintSource", QStringLiteral("&Print"), {}, document("mnuPrintSource"));
    addCommand(teacher, "mnuForce", QStringLiteral("Force end of speedTest"),
               QKeySequence(Qt::Key_F9), [this] { m_commands->mnuForce(); });
    QMenu* zoom1 = teacher->addMenu(QStringLiteral("Zoom"));
    zoom1->setObjectName(QStringLiteral("mnuZoom1"));
    addCommand(zoom1, "mnuUit", QStringLiteral("Out"), {}, [this] { mnuUit(*m_context); });
    addCommand(zoom1, "mnuIn", QStringLiteral("In"), {}, [this] { mnuIn(*m_context); });

    QAction* settingsItem = bar->addAction(QStringLiteral("Se&ttings"));
    settingsItem->setObjectName(QStringLiteral("mnuSettings"));
    connect(settingsItem, &QAction::triggered, this, [this] {
        showSettingsDialog(this, m_settings, joinPath(m_programFolder, SettingsFileName));
    });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addCommand(help, "mnuAfrikaans", QStringLiteral("Afrikaans"), {},
               [this] { m_commands->mnuAfrikaans(); });
    addCommand(help, "mnuEnglish", QStringLiteral("English"), {},
               [this] { m_commands->mnuEnglish(); });
    addCommand(help, "mnuAbout", QStringLiteral("About"), {},
               [this] { showAboutBox(this, *m_services.processes); });

    QAction* exitItem = bar->addAction(QStringLiteral("E&xit"));
    exitItem->setObjectName(QStringLiteral("mnuExit"));
    connect(exitItem, &QAction::triggered, this, [this] { runExit(); });
}

void Spoed::placeControls() {
    // The design layout; extra room goes to the panes, split evenly between the two halves.
    int extraWidth = std::max(0, m_client->width() - DesignWidth);
    int extraHeight = std::max(0, m_client->height() - DesignHeight);
    int half = extraWidth / 2;
    auto grow = [](QRect r, int dx, int dy, int dw, int dh) {
        return QRect(r.x() + dx, r.y() + dy, r.width() + dw, r.height() + dh);
    };
    m_picture1->setGeometry(grow(twipRect(120, 480, 7575, 9255), 0, 0, half, extraHeight));
    m_typed->editor()->setGeometry(grow(twipRect(480, 600, 7170, 9045), 0, 0, half, extraHeight));
    m_picture2->setGeometry(grow(twipRect(7800, 1200, 7095, 8535), half, 0, half, extraHeight));
    m_source->editor()->setGeometry(
        grow(twipRect(8160, 1320, 6690, 8280), half, 0, half, extraHeight));

    m_label2->setGeometry(QRect(px(240), px(240), px(840), 17));
    m_label3->setGeometry(QRect(px(3000), px(240), px(11775) + extraWidth, 17));
    m_label1->setGeometry(QRect(px(7800) + half, px(660), px(840), 32));
    m_label4->setGeometry(QRect(px(9840) + half, px(720), px(5055) + half, 17));
    m_label5->setGeometry(QRect(px(11880) + extraWidth, px(0), px(855), 20));
    m_label6->setGeometry(QRect(px(5760), px(0), 170, 30));
    m_animation1->setGeometry(QRect(px(8040) + half, px(0), px(615), px(480)));

    m_command1->setGeometry(QRect(px(1080), px(120), 34, 24));
    m_command4->setGeometry(QRect(px(1680), px(120), 34, 24));
    m_command2->setGeometry(QRect(px(2280), px(120), 44, 24));
    m_command3->setGeometry(QRect(px(8640) + half, px(720), 34, 26));
    m_command8->setGeometry(QRect(px(9240) + half, px(720), 34, 26));
}

void Spoed::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeControls();
}

void Spoed::connectPanes() {
    // Every character key of the speed test passes the timed test's rule first.
    m_typed->editor()->keyHook = [this](QKeyEvent* event) {
        QString text = event->text();
        char16_t code = text.isEmpty() ? 0 : text.front().unicode();
        return m_commands->keyPressed(code);
    };
    // Typing always goes to the speed test; the source pane's caret still moves to the click,
    // which the cut-off request reads on release.
    m_source->editor()->focusReceived = [this] {
        QTimer::singleShot(0, this, [this] { m_typed->setFocus(); });
    };
    m_source->editor()->mouseReleased = [this] {
        runMarking([this] { m_engine->SourcePaneClicked(); });
    };
    // The source is read, not edited: keys that reach it anyway change nothing.
    m_source->editor()->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                                Qt::TextSelectableByKeyboard);
}

void Spoed::openAnimation() {
    auto* player = new AnimationPlayer(m_animation1);
    // A missing clip leaves the control empty; start-up goes on.
    player->openOnFirstPlay(QString::fromStdString(joinPath(m_programFolder, "cdverify.avi")));
    setAnimationWidget(player, [player](bool run) {
        if (run)
            player->play();
        else
            player->stop();
    });
    m_animation1->hide();
}

void Spoed::setAnimationWidget(QWidget* widget, std::function<void(bool)> control) {
    widget->setParent(m_animation1);
    m_animation1->layout()->addWidget(widget);
    m_animationControl = std::move(control);
}

void Spoed::startUp() {
    const std::vector<std::string> fontFolders = markingFontFolders(m_programFolder);
    m_commands->startUp(fontFolders);
    // Fonts found beside the program may be unknown to the system's font cache.
    if (m_state.FontMarking)
        registerMarkingFonts(*m_services.files, fontFolders);
    openAnimation();
    m_typed->setFocus();
}

// ---- WorkspaceView -----------------------------------------------------------------------------

std::string Spoed::label3() const {
    return m_label3->text().toStdString();
}

void Spoed::setLabel3(const std::string& text) {
    m_label3->setText(QString::fromStdString(text));
}

std::string Spoed::label4() const {
    return m_label4->text().toStdString();
}

void Spoed::setLabel4(const std::string& text) {
    m_label4->setText(QString::fromStdString(text));
}

std::string Spoed::clockText() const {
    return m_label5->text().toStdString();
}

void Spoed::setClockText(const std::string& text) {
    m_label5->setText(QString::fromStdString(text));
}

void Spoed::setBusy(bool busy) {
    // A marking run edits the panes in thousands of small steps: they neither lay out nor
    // redraw until it is over.
    m_typed->setBatching(busy);
    m_source->setBatching(busy);
    m_label6->setVisible(busy);
    m_label6->raise();
    m_animation1->setVisible(busy);
    if (m_animationControl)
        m_animationControl(busy);
}

void Spoed::setLineSpacingCheck(int mode) {
    m_single->setChecked(mode == 0);
    m_oneAndAHalf->setChecked(mode == 1);
    m_double->setChecked(mode == 2);
}

int Spoed::lineSpacingCheck() const {
    if (m_oneAndAHalf->isChecked())
        return 1;
    if (m_double->isChecked())
        return 2;
    return 0;
}

void Spoed::showWarningDialog() {
    if (m_warningDialog)
        m_warningDialog();
}

void Spoed::processEvents() {
    QCoreApplication::processEvents();
}

void Spoed::terminate() {
    if (m_terminated)
        return;
    m_terminated = true;
    m_terminating = true;
    if (m_terminate)
        m_terminate();
}

// ---- MarkingHost -------------------------------------------------------------------------------

void Spoed::showMessage(const std::string& title, const std::string& text) {
    m_services.messages->show(text, title, MessageButtons::Ok, MessageIcon::None);
}

void Spoed::stopClock() {
    m_services.clock->setEnabled(false);
}

void Spoed::openSpeedTest() {
    runDocumentCommand("mnuTypedDoc");
}

std::string Spoed::typedTestName() const {
    return label3();
}

void Spoed::setTypedTestName(const std::string& name) {
    setLabel3(name);
}

// ---- commands ----------------------------------------------------------------------------------

void Spoed::runDocumentCommand(const char* name) {
    // Once the program is ending, no command opens another dialog.
    if (m_terminated || !m_documents)
        return;
    [[maybe_unused]] bool known = m_documents->run(name);
    Q_ASSERT_X(known, "Spoed::runDocumentCommand", name);
}

void Spoed::runExit() {
    if (!m_terminated)
        m_commands->mnuExit();
}

void Spoed::startMarkingRun() {
    runMarking([this] { m_engine->StartMarkingRun(); });
}

void Spoed::runMarking(const std::function<void()>& run) {
    // However a run ends, the panes leave their batch: a pane left in one would never show its
    // changes again.
    struct EndBatch {
        Spoed& window;
        ~EndBatch() {
            window.m_typed->setBatching(false);
            window.m_source->setBatching(false);
        }
    } endBatch{*this};
    run();
}

void Spoed::armCutOff() {
    m_engine->ArmCutOff();
}

// ---- events ------------------------------------------------------------------------------------

void Spoed::closeEvent(QCloseEvent* event) {
    if (m_terminating) {
        event->accept();
        return;
    }
    CloseReason reason =
        event->spontaneous() && !m_sessionEnding ? CloseReason::UserClose : CloseReason::Other;
    m_sessionEnding = false;
    if (!m_commands->queryClose(reason)) {
        event->ignore();
        return;
    }
    m_terminating = true;
    event->accept();
}

bool Spoed::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picture1 && event->type() == QEvent::MouseButtonPress)
        m_typed->setFocus();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace keystride
