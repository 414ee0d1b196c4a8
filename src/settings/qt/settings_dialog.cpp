#include "settings/qt/settings_dialog.h"

#include "platform/desktop/ui_services.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace keystride {

namespace {

QPointer<FormS>& theDialog() {
    static QPointer<FormS> dialog;
    return dialog;
}

int boxIndex(SettingsBox box) {
    return static_cast<int>(box) - 1;
}

} // namespace

FormS::FormS(SettingsStore& store, std::string settingsPath, FileSystem& files, QWidget* parent)
    : QDialog(parent), m_store(store), m_path(std::move(settingsPath)), m_files(files) {
    setObjectName(QStringLiteral("FormS"));
    setWindowTitle(QStringLiteral("Settings"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    for (const SettingsBoxInfo& row : settingsBoxRows()) {
        auto* check = new QCheckBox(QString::fromUtf8(row.caption), this);
        check->setObjectName(QString::fromLatin1(row.objectName));
        m_boxes[boxIndex(row.box)] = check;
        layout->addWidget(check);
        const SettingsBox box = row.box;
        // clicked() comes only from the user, never from setChecked(): the rules that tie the
        // boxes together apply to clicks alone, not to loading.
        connect(check, &QCheckBox::clicked, this,
                [this, box](bool ticked) { boxClicked(box, ticked); });
    }

    auto* buttons = new QHBoxLayout;
    m_command1 = new QPushButton(QStringLiteral("OK"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setDefault(true);
    m_command2 = new QPushButton(QStringLiteral("Cancel"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command2);
    buttons->addStretch();
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_command1, &QPushButton::clicked, this, &FormS::command1Click);
    connect(m_command2, &QPushButton::clicked, this, &FormS::command2Click);

    // Tab order follows the box numbers, not the rows.
    QWidget* previous = nullptr;
    for (QCheckBox* check : m_boxes) {
        if (previous)
            setTabOrder(previous, check);
        previous = check;
    }
    setTabOrder(previous, m_command1);
    setTabOrder(m_command1, m_command2);

    m_model.showStored(m_store);
    showModelTicks();
}

QCheckBox* FormS::box(SettingsBox box) const {
    return m_boxes[boxIndex(box)];
}

void FormS::boxClicked(SettingsBox box, bool ticked) {
    m_model.userSetBox(box, ticked);
    showModelTicks();
}

void FormS::showModelTicks() {
    for (int i = 0; i < SettingsBoxCount; ++i)
        m_boxes[i]->setChecked(m_model.isTicked(static_cast<SettingsBox>(i + 1)));
}

void FormS::command1Click() {
    FileResult failure = m_model.store(m_store, m_files, m_path);
    if (failure) {
        const std::string text = settingsWriteFailureText(m_path, *failure);
        if (m_messages) {
            m_messages->show(text, "Error", MessageButtons::Ok, MessageIcon::Exclamation);
        } else {
            QMessageBox::warning(this, QStringLiteral("Error"), QString::fromStdString(text),
                                 QMessageBox::Ok);
        }
    }
    done(QDialog::Accepted);
}

void FormS::command2Click() {
    done(QDialog::Rejected);
}

void FormS::reject() {
    command2Click();
}

void showSettingsDialog(QWidget* parent, SettingsStore& store, const std::string& settingsPath) {
    QPointer<FormS>& dialog = theDialog();
    if (!dialog || &dialog->settingsStore() != &store || dialog->settingsPath() != settingsPath) {
        delete dialog.data();
        dialog = new FormS(store, settingsPath, FileSystem::real(), parent);
    }
    dialog->exec();
}

} // namespace keystride
