// FormS, the settings dialog: eight check boxes over "OK" and "Cancel". It is created once at
// start-up (which reads the settings file into the SettingsStore) and then lives hidden until
// the program ends, so that boxes left changed by "Cancel" show the same way next time.
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
    // Where the boxes take their first state from.
    enum class Loading {
        ReadFile,  // the loading steps: read the file into the store, tick the boxes to match
        ShowStore, // the store already holds what start-up read: tick the boxes to match it
    };

    FormS(SettingsStore& store, std::string settingsPath, FileSystem& files,
          QWidget* parent = nullptr, Loading loading = Loading::ReadFile);

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

// Creates the program's one settings dialog, hidden, running its loading steps; an earlier one
// is discarded. Start-up calls this once.
FormS* createSettingsDialog(QWidget* parent, SettingsStore& store, const std::string& settingsPath);
// The dialog created at start-up, or nullptr.
FormS* settingsDialog();
// "Se&ttings": shows the dialog modally over `parent` until "OK" or "Cancel". Without a dialog
// created for this store and file (start-up read the file into the store itself), one is created
// first; its boxes show the store, and the file is not read again.
void showSettingsDialog(QWidget* parent, SettingsStore& store, const std::string& settingsPath);

} // namespace keystride
