// Spoed, the main window: the speed-test pane on the left, the source document on the right,
// the button strip, the clock and the menus. Every menu item and button runs a command of the
// workspace, documents or marking modules through the window's WorkspaceContext.
#pragma once

#include "documents/qt/window_documents.h"
#include "marking/marking_run.h"
#include "platform/desktop/posix_process_launcher.h"
#include "platform/desktop/qt/qt_services.h"
#include "platform/panes/qt/qt_document_pane.h"
#include "workspace/context/workspace_context.h"
#include "workspace/qt/spoed_layout.h"
#include "workspace/workspace_commands.h"

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace keystride {

// Services the window uses; any left empty is the Qt one. Tests hand in scripted ones.
struct SpoedServices {
    MessageBoxes* messages = nullptr;
    FileDialogs* dialogs = nullptr;
    Printing* printing = nullptr;
    Clock* clock = nullptr;
    ProcessLauncher* processes = nullptr;
    FileSystem* files = nullptr;
};

class Spoed : public QMainWindow, public WorkspaceView, public marking::MarkingHost {
    Q_OBJECT
public:
    explicit Spoed(const std::string& programFolder, SpoedServices services = {},
                   QWidget* parent = nullptr);
    ~Spoed() override;

    // The start-up steps; the window is usable before, but the settings and font marking are
    // decided here.
    void startUp();

    // Sizes the window to its nominal layout, or smaller where `available` (a screen's free
    // area) has less room, and places it there.
    void fitInto(const QRect& available);

    // WorkspaceView
    std::string label3() const override;
    void setLabel3(const std::string& text) override;
    std::string label4() const override;
    void setLabel4(const std::string& text) override;
    std::string clockText() const override;
    void setClockText(const std::string& text) override;
    void setBusy(bool busy) override;
    void setLineSpacingCheck(int mode) override;
    int lineSpacingCheck() const override;
    void showWarningDialog() override;
    void processEvents() override;
    void terminate() override;

    // MarkingHost
    void showMessage(const std::string& title, const std::string& text) override;
    void stopClock() override;
    void openSpeedTest() override;
    std::string typedTestName() const override;
    void setTypedTestName(const std::string& name) override;

    // The one place where the opening, saving, printing and export commands are wired to the
    // documents and results modules (`name` is the menu item's name, e.g. "mnuTypedDoc").
    void runDocumentCommand(const char* name);

    // mnuExit, also run by a Save As of the speed test whose dialog was cancelled.
    void runExit();

    // Command2, mnuCalculate (F12).
    void startMarkingRun();
    // Command8.
    void armCutOff();

    QtDocumentPane& RichTextBox1() { return *m_typed; }
    QtDocumentPane& RichTextBox2() { return *m_source; }
    WorkspaceContext& context() { return *m_context; }
    WorkspaceCommands& commands() { return *m_commands; }
    marking::WorkspaceState& state() { return m_state; }
    SettingsStore& settings() { return m_settings; }
    marking::MarkingEngine* engine() { return m_engine.get(); }
    DocumentCommands& documents() { return m_documents->commands(); }

    // What terminate() does; the program quits the application. Tests record the call instead.
    void setTerminateHandler(std::function<void()> handler) { m_terminate = std::move(handler); }
    // The warning dialog `Waarskuwing`; the window shows the documents module's dialog over
    // itself unless another is set here.
    void setWarningDialog(std::function<void()> dialog) { m_warningDialog = std::move(dialog); }
    // Where the busy animation plays: the widget is placed in Animation1's frame; `control`
    // starts (true) and stops (false) it.
    void setAnimationWidget(QWidget* widget, std::function<void(bool)> control);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPanes();
    void buildLabels();
    void buildButtons();
    void buildLayout();
    void nameControls();
    void buildMenus();
    void connectPanes();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption,
                        const QKeySequence& key, std::function<void()> run);
    void openAnimation();
    // Runs a marking run (F12 or the cut-off click).
    void runMarking(const std::function<void()>& run);

    std::string m_programFolder;

    std::unique_ptr<QtMessageBoxes> m_qtMessages;
    std::unique_ptr<QtFileDialogs> m_qtDialogs;
    std::unique_ptr<QtPrinting> m_qtPrinting;
    std::unique_ptr<QtClock> m_qtClock;
    std::unique_ptr<PosixProcessLauncher> m_posixProcesses;
    SpoedServices m_services;

    QWidget* m_client = nullptr;
    std::unique_ptr<QtDocumentPane> m_typed;  // RichTextBox1
    std::unique_ptr<QtDocumentPane> m_source; // RichTextBox2
    QFrame* m_picture1 = nullptr;
    QFrame* m_picture2 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_label4 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr;
    QWidget* m_animation1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
    QPushButton* m_command4 = nullptr;
    QPushButton* m_command7 = nullptr;
    QPushButton* m_command8 = nullptr;
    QAction* m_single = nullptr;
    QAction* m_oneAndAHalf = nullptr;
    QAction* m_double = nullptr;
    SpoedLayout m_layout;

    marking::WorkspaceState m_state;
    SettingsStore m_settings;
    std::unique_ptr<WorkspaceContext> m_context;
    std::unique_ptr<WorkspaceCommands> m_commands;
    std::unique_ptr<marking::MarkingEngine> m_engine;
    std::unique_ptr<WindowDocuments> m_documents;

    std::function<void()> m_terminate;
    std::function<void()> m_warningDialog;
    std::function<void(bool)> m_animationControl;
    bool m_terminating = false;
    // terminate() has run: nested Exit commands (a cancelled Save As asks again) end the program
    // once.
    bool m_terminated = false;
    bool m_sessionEnding = false;
};

} // namespace keystride
