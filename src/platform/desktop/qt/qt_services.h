// The desktop services of the window: Qt message boxes, file and printer dialogs, the one-second
// clock and the marking fonts. Outside programs are started by the POSIX launcher, as in the
// command-line tools.
#pragma once

#include "platform/desktop/ui_services.h"
#include "platform/files/file_system.h"

#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace keystride {

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : m_parent(parent) {}
    MessageAnswer show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon) override;

private:
    QPointer<QWidget> m_parent;
};

// "desc|pattern|desc|pattern" becomes Qt's "desc (pattern);;desc (pattern)"; the patterns of one
// entry, separated by ";", are separated by blanks.
QString qtFileFilter(const std::string& filter);

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    std::string getOpenFileName(const std::string& filter, const std::string& fileName) override;
    std::string getSaveFileName(const std::string& filter, const std::string& fileName) override;

private:
    QPointer<QWidget> m_parent;
};

class QtPrinting : public Printing {
public:
    // Shows the printer dialog for `printer`; false when cancelled. Tests put a function here
    // that points the printer at a PDF file instead.
    using PrinterDialog = std::function<bool(QPrinter& printer)>;

    explicit QtPrinting(QWidget* parent = nullptr);
    bool choosePrinter() override;
    bool printPane(DocumentPane& pane) override;

    void setPrinterDialog(PrinterDialog dialog) { m_dialog = std::move(dialog); }
    // Made on first use: setting up a printer loads the system's print service and its
    // libraries, which a window that is not printing has no need of.
    QPrinter& printer();

private:
    QPointer<QWidget> m_parent;
    std::unique_ptr<QPrinter> m_printer;
    PrinterDialog m_dialog;
};

class QtClock : public Clock {
public:
    QtClock();
    void setEnabled(bool enabled) override;
    bool enabled() const override { return m_timer.isActive(); }
    void setTickHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

private:
    QTimer m_timer;
    std::function<void()> m_handler;
};

// Hands the application each of the five marking font files found in `folders` (from the first
// folder that holds it), so the marking faces draw even before the system's font cache knows
// them, e.g. fonts beside a program that was only unpacked. A file is registered once per run;
// unreadable or invalid files are skipped. Returns the families of the files registered now.
QStringList registerMarkingFonts(const FileSystem& files, const std::vector<std::string>& folders);

} // namespace keystride
