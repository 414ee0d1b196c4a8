// frmAbout, the About box: the product, its version, the converter credit and a button that
// starts the desktop's system-information viewer. It is not modal and is discarded on closing.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace keystride {

class MessageBoxes;
class ProcessLauncher;

// The texts of the box; the converter's site is ConverterWebAddress.
inline constexpr const char* AboutApplicationTitle = "Vela Keystride";
inline constexpr const char* AboutProductLine = "Vela Keystride 2.1";
inline constexpr const char* AboutConverterCredit =
    "A free utility, Docx2Rtf.exe, was used to convert Word 2007 and Open Office documents.";
inline constexpr const char* AboutContactAddress = "info@velakeystride.org";

class frmAbout : public QDialog {
    Q_OBJECT

public:
    // `messages` reports an unavailable system-information viewer; without it a message box of
    // the About box's own is shown.
    explicit frmAbout(ProcessLauncher& launcher, MessageBoxes* messages = nullptr,
                      QWidget* parent = nullptr);
    ~frmAbout() override;

    QPushButton* okButton() const { return m_cmdOK; }
    QPushButton* sysInfoButton() const { return m_cmdSysInfo; }

    // "&System Info...".
    void cmdSysInfoClick();

    // OK, Enter, Esc and the close box all close the window and discard it.
    void done(int result) override;

private:
    ProcessLauncher& m_launcher;
    MessageBoxes* m_messages;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdSysInfo = nullptr;
};

// "About" in the "&Help" menu: shows a new About box over `parent` and returns at once.
void showAboutBox(QWidget* parent, ProcessLauncher& launcher);

} // namespace keystride
