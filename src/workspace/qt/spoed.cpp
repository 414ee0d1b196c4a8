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
QFont labelFont(const QString& face, QFont::StyleHint hint, bool bold = false) {
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

// What a screen reader says for a label that shows a value: what the value is, then the value.
QString namedValue(const QString& what, const QString& value) {
    return value.isEmpty() ? what : what + QStringLiteral(": ") + value;
}

// Accessible names of the labels that show values, in the window's terms.
const QString SpeedTestFileName = QStringLiteral("Speed test file name");
const QString SourceFileName = QStringLiteral("Source document file name");
const QString ElapsedTime = QStringLiteral("Elapsed time");

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
    // The same launcher as the command-line tools: a program that runs past its time limit is
    // ended with every process it started.
    if (!m_services.processes)
        m_services.processes = (m_posixProcesses = std::make_unique<PosixProcessLauncher>()).get();
    if (!m_services.files)
        m_services.files = &FileSystem::real();

    m_terminate = [] { QCoreApplication::exit(0); };

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setMinimumSize(SpoedLayout::minimumClient());
    setCentralWidget(m_client);
    buildPanes();
    buildLabels();
    buildButtons();
    buildLayout();
    nameControls();
    buildMenus();
    resize(SpoedLayout::Nominal + QSize(0, menuBar()->sizeHint().height()));
    m_layout.apply(m_client->size());

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

void Spoed::buildPanes() {
    m_picture1 = new QFrame(m_client);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    setBackground(m_picture1, Qt::white);
    m_picture1->setFrameShape(QFrame::StyledPanel);
    m_picture1->installEventFilter(this);

    m_picture2 = new QFrame(m_client);
    m_picture2->setObjectName(QStringLiteral("Picture2"));
    setBackground(m_picture2, qColour(colours::paneGrey));
    m_picture2->setFrameShape(QFrame::StyledPanel);

    auto pane = [this](const char* name, double points, const QColor& background) {
        auto created = std::make_unique<QtDocumentPane>(m_client);
        created->editor()->setObjectName(QString::fromLatin1(name));
        created->setBaseFormat(paneFormat(points));
        created->setText(u"");
        created->setChanged(false);
        setBackground(created->editor(), background);
        created->editor()->setFrameShape(QFrame::NoFrame);
        return created;
    };
    m_typed = pane("RichTextBox1", 12.0, Qt::white);
    m_source = pane("RichTextBox2", 9.75, qColour(colours::paneGrey));
    // The source pane takes a click (the cut-off reads its caret) but is never tabbed to: the
    // keyboard belongs to the speed test.
    m_source->editor()->setFocusPolicy(Qt::ClickFocus);
}

void Spoed::buildLabels() {
    auto label = [this](const char* name, const QString& caption, const QFont& font) {
        auto* l = new QLabel(caption, m_client);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(font);
        return l;
    };
    const QFont caption = labelFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif);
    const QFont fileName = labelFont(QStringLiteral("Times New Roman"), QFont::Serif);
    m_label2 = label("Label2", QStringLiteral("Speed test"), caption);
    m_label3 = label("Label3", QString(), fileName);
    m_label1 = label("Label1", QStringLiteral("Source document"), caption);
    m_label1->setWordWrap(true);
    m_label4 = label("Label4", QString(), fileName);
    m_label5 = label("Label5", QString(),
                     labelFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, true));
    m_label5->setAlignment(Qt::AlignCenter);
    m_label6 = label("Label6", QStringLiteral("Please wait..."), caption);
    QPalette palette = m_label6->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 128, 0));
    m_label6->setPalette(palette);
    m_label6->hide();
    for (QLabel* l : {m_label3, m_label4})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_animation1 = new QWidget(m_client);
    m_animation1->setObjectName(QStringLiteral("Animation1"));
    auto* animationLayout = new QVBoxLayout(m_animation1);
    animationLayout->setContentsMargins(0, 0, 0, 0);
    m_animation1->hide();
}

void Spoed::buildButtons() {
    auto button = [this](const char* name, const QIcon& icon, std::function<void()> run) {
        auto* b = new QPushButton(icon, QString(), m_client);
        b->setObjectName(QString::fromLatin1(name));
        // Reached with the keyboard, but a click leaves the focus in the speed test, and so
        // does a button pressed from the keyboard once its command has run.
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, run = std::move(run)] {
            run();
            if (!m_terminated)
                m_typed->setFocus();
        });
        return b;
    };
    m_command1 = button("Command1", icons::openDocument(Qt::white),
                        [this] { runDocumentCommand("Command1"); });
    m_command4 = button("Command4", icons::printer(), [this] { runDocumentCommand("Command4"); });
    m_command2 = button("Command2", QIcon(), [this] { startMarkingRun(); });
    m_command2->setText(QStringLiteral("WPM"));
    m_command2->setFont(labelFont(QStringLiteral("Courier New"), QFont::Monospace, true));
    m_command2->setToolTip(QStringLiteral("Calculate words/minute"));
    m_command3 = button("Command3", icons::openDocument(qColour(colours::paneGrey)),
                        [this] { runDocumentCommand("Command3"); });
    m_command8 = button("Command8", icons::cutOff(), [this] { armCutOff(); });
    m_command8->setToolTip(QStringLiteral("Click in source document to indicate cut-off position"));
    m_command7 = button("Command7", QIcon(), [this] { (void)m_engine->SaveMarkedTest(); });
    m_command7->setFocusPolicy(Qt::NoFocus);
    m_command7->hide();

    // Tab goes through the buttons in the order they stand, left to right.
    QWidget::setTabOrder(m_typed->editor(), m_command1);
    QWidget::setTabOrder(m_command1, m_command4);
    QWidget::setTabOrder(m_command4, m_command2);
    QWidget::setTabOrder(m_command2, m_command3);
    QWidget::setTabOrder(m_command3, m_command8);
}

void Spoed::buildLayout() {
    using enum Share;
    auto place = [this](QWidget* widget, QRect nominal, Share moveRight, Share widen,
                        Share heighten, int iconPixels = 0) {
        m_layout.place({widget, nominal, moveRight, widen, heighten, iconPixels});
    };
    // The panes and their frames share the extra room, half to each side.
    place(m_picture1, twipRect(120, 480, 7575, 9255), None, Half, All);
    place(m_typed->editor(), twipRect(480, 600, 7170, 9045), None, Half, All);
    place(m_picture2, twipRect(7800, 1200, 7095, 8535), Half, Half, All);
    place(m_source->editor(), twipRect(8160, 1320, 6690, 8280), Half, Half, All);
    // Captions get the height of one line of their font (two for "Source document"), buttons
    // the size of their pictures.
    place(m_label2, QRect(px(240), px(240), px(840), 17), None, None, None);
    place(m_label3, QRect(px(3000), px(240), px(11775), 17), None, All, None);
    place(m_label1, QRect(px(7800), px(660), px(840), 32), Half, None, None);
    place(m_label4, QRect(px(9840), px(720), px(5055), 17), Half, Half, None);
    place(m_label5, QRect(px(11880), px(0), px(855), 20), All, None, None);
    place(m_label6, QRect(px(5760), px(0), 170, 30), None, None, None);
    place(m_animation1, twipRect(8040, 0, 615, 480), Half, None, None);
    place(m_command1, QRect(px(1080), px(120), 34, 24), None, None, None, 20);
    place(m_command4, QRect(px(1680), px(120), 34, 24), None, None, None, 20);
    place(m_command2, QRect(px(2280), px(120), 44, 24), None, None, None);
    place(m_command3, QRect(px(8640), px(720), 34, 26), Half, None, None, 20);
    place(m_command8, QRect(px(9240), px(720), 34, 26), Half, None, None, 20);

    // The captions have the room of the design's small dialog font before the buttons start.
    for (QLabel* caption : {m_label1, m_label2})
        m_layout.scaleFont(caption, 8);
    for (QLabel* fileName : {m_label3, m_label4})
        m_layout.scaleFont(fileName, 9);
    m_layout.scaleFont(m_label5, 9.75);
    m_layout.scaleFont(m_label6, 16.5);
    m_layout.scaleFont(m_command2, 9);
}

void Spoed::nameControls() {
    // A screen reader names each control in the window's own terms (a button's tool tip is its
    // description); the captions name the panes they stand over.
    m_typed->editor()->setAccessibleName(QStringLiteral("Speed test"));
    m_source->editor()->setAccessibleName(QStringLiteral("Source document"));
    m_label2->setBuddy(m_typed->editor());
    m_label1->setBuddy(m_source->editor());
    m_label3->setAccessibleName(SpeedTestFileName);
    m_label4->setAccessibleName(SourceFileName);
    m_label5->setAccessibleName(ElapsedTime);
    m_command1->setAccessibleName(QStringLiteral("Open speed test"));
    m_command4->setAccessibleName(QStringLiteral("Print speed test"));
    m_command3->setAccessibleName(QStringLiteral("Open source document"));
    m_command8->setAccessibleName(QStringLiteral("Force end of speedTest"));
    m_command7->setAccessibleName(QStringLiteral("Save marked test"));
    m_animation1->setAccessibleName(m_label6->text());
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

void Spoed::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    m_layout.apply(m_client->size());
}

void Spoed::fitInto(const QRect& available) {
    // Room for the frame a window manager draws round the window, which is unknown before the
    // window is shown.
    const QSize frame(16, 40);
    const int menuHeight = menuBar()->sizeHint().height();
    const QSize room = available.size() - frame - QSize(0, menuHeight);
    const QSize client =
        SpoedLayout::Nominal.boundedTo(room).expandedTo(SpoedLayout::minimumClient());
    resize(client + QSize(0, menuHeight));
    move(available.topLeft() + QPoint(std::max(0, (room.width() - client.width()) / 2), 0));
}

void Spoed::connectPanes() {
    m_typed->editor()->keyHook = [this](QKeyEvent* event) {
        // Tab is typed into the test; Ctrl+Tab and Ctrl+Shift+Tab go on to the buttons, as in
        // any text area that takes Tab.
        if ((event->modifiers() & Qt::ControlModifier) &&
            (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
            focusNextPrevChild(event->key() == Qt::Key_Tab);
            return true;
        }
        // Every character key of the speed test passes the timed test's rule first.
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
    m_label3->setAccessibleName(namedValue(SpeedTestFileName, m_label3->text()));
}

std::string Spoed::label4() const {
    return m_label4->text().toStdString();
}

void Spoed::setLabel4(const std::string& text) {
    m_label4->setText(QString::fromStdString(text));
    m_label4->setAccessibleName(namedValue(SourceFileName, m_label4->text()));
}

std::string Spoed::clockText() const {
    return m_label5->text().toStdString();
}

void Spoed::setClockText(const std::string& text) {
    m_label5->setText(QString::fromStdString(text));
    m_label5->setAccessibleName(namedValue(ElapsedTime, m_label5->text()));
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
