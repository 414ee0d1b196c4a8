#include "documents/qt/waarskuwing.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace keystride {

Waarskuwing::Waarskuwing(std::string markerPath, QWidget* parent, FileSystem& files)
    : QDialog(parent), m_markerPath(std::move(markerPath)), m_files(files) {
    setObjectName(QStringLiteral("Waarskuwing"));
    setWindowTitle(QString::fromUtf8(warningtexts::Title));
    setModal(true);

    m_label1 = new QLabel(QString::fromUtf8(warningtexts::Label1), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setWordWrap(true);
    QFont strong = m_label1->font();
    strong.setBold(true);
    m_label1->setFont(strong);
    m_label2 = new QLabel(QString::fromUtf8(warningtexts::Label2), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setWordWrap(true);

    m_command1 = new QPushButton(QString::fromUtf8(warningtexts::Command1), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setAutoDefault(false);
    m_command2 = new QPushButton(QString::fromUtf8(warningtexts::Command2), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_command1);
    buttons->addStretch(1);
    buttons->addWidget(m_command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
    layout->addSpacing(8);
    layout->addWidget(m_label2);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(m_command1, &QPushButton::clicked, this, [this] { command1Click(); });
    connect(m_command2, &QPushButton::clicked, this, &QDialog::accept);
}

void Waarskuwing::command1Click() {
    // A marker that is already gone is no failure; the dialog stays until "OK".
    (void)m_files.remove(m_markerPath);
}

void showWaarskuwing(QWidget* parent, const std::string& markerPath, FileSystem& files) {
    Waarskuwing dialog(markerPath, parent, files);
    dialog.exec();
}

} // namespace keystride
