// FormS, the settings dialog: eight check boxes over "OK" and "Cancel". Start-up reads the
// settings file into the SettingsStore; the dialog, created when first shown, then lives hidden
// until the program ends, so that boxes left changed by "Cancel" show the same way next time.
#pragma once

#include "settings/settings_dialog_model.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QPushButton;

namespace keystride {

class MessageBoxes;

class FormS : public QDialog {
    Q_OBJECT

public:
    // The boxes show `store`, which start-up read from the settings file; "OK" writes the file
    // at `settingsPath`.
    FormS(SettingsStore& store, std::string settingsPath, FileSystem& files,
          QWidget* parent = nullptr);

    // Where a failed write is reported; without one a message box of the dialog's own is shown.
    void setMessageBoxes(MessageBoxes* messages) { m_messages = messages; }

    QCheckBox* box(SettingsBox box) const;
    QPushButton* okButton() const { return m_command1; }
    QPushButton* cancelButton() const { return m_command2; }
    const SettingsDialogModel& model() const { return m_model; }
    SettingsStore& settingsStore() const { return m_store; }
    const std::string& settingsPath() const { return m_path; }

    // "OK": stores the boxes into the SettingsStore, writes the settings file and hides.
    void command1Click();
    // "Cancel": hides; the boxes stay as the user left them.
    void command2Click();

    // Closing with Esc or the close box is the same as "Cancel".
    void reject() override;

private:
    void boxClicked(SettingsBox box, bool ticked);
    void showModelTicks();

    SettingsStore& m_store;
    std::string m_path;
    FileSystem& m_files;
    MessageBoxes* m_messages = nullptr;
    SettingsDialogModel m_model;
    std::array<QCheckBox*, SettingsBoxCount> m_boxes{}; // by box number - 1
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
};

// "Se&ttings": shows the program's one settings dialog modally over `parent` until "OK" or
// "Cancel". The first call creates it, its boxes showing the store (the file is not read again);
// later calls show the same dialog, with the boxes as the user left them.
void showSettingsDialog(QWidget* parent, SettingsStore& store, const std::string& settingsPath);

} // namespace keystride
