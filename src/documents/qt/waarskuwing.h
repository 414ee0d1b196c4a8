// Waarskuwing: the warning about documents that are not RTF, shown before the open dialogs while
// the marker file "Warning.txt" exists in the current folder. "Don't show this message again"
// deletes the marker and leaves the dialog open; "OK" closes it.
#pragma once

#include "platform/files/file_system.h"

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

namespace keystride {

namespace warningtexts {
inline constexpr const char* Title = "Warning";
inline constexpr const char* Label1 =
    "IMPORTANT! If your documents are in not in RTF format, please make sure they are saved on the "
    "hard disk or an accessible flash disk before using Vela Keystride.";
inline constexpr const char* Label2 = "For best results, save Word 2007 or Open Office speed tests "
                                      "in RTF format before using Vela Keystride";
inline constexpr const char* Command1 = "Don't show this message again";
inline constexpr const char* Command2 = "OK";
} // namespace warningtexts

class Waarskuwing : public QDialog {
    Q_OBJECT
public:
    // `markerPath`: the marker file that "Don't show this message again" deletes.
    explicit Waarskuwing(std::string markerPath, QWidget* parent = nullptr,
                         FileSystem& files = FileSystem::real());

    QLabel* label1() const { return m_label1; }
    QLabel* label2() const { return m_label2; }
    QPushButton* command1() const { return m_command1; }
    QPushButton* command2() const { return m_command2; }

private:
    void command1Click();

    std::string m_markerPath;
    FileSystem& m_files;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
};

// Shows the dialog modally over `parent` and returns when it is closed: what the window's
// showWarningDialog() runs.
void showWaarskuwing(QWidget* parent, const std::string& markerPath,
                     FileSystem& files = FileSystem::real());

} // namespace keystride
