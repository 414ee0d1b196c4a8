#include "about/qt/about_box.h"

#include "about/sys_info.h"
#include "platform/desktop/converter.h"
#include "platform/desktop/qt/qt_services.h"
#include "platform/desktop/ui_services.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace keystride {

namespace {

QFrame* separatorLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* textLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    return label;
}

QIcon programIcon(const QWidget* parent) {
    if (parent && !parent->windowIcon().isNull())
        return parent->windowIcon();
    if (!QApplication::windowIcon().isNull())
        return QApplication::windowIcon();
    return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

} // namespace

frmAbout::frmAbout(ProcessLauncher& launcher, MessageBoxes* messages, QWidget* parent)
    : QDialog(parent), m_launcher(launcher), m_messages(messages) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + QString::fromUtf8(AboutApplicationTitle));
    setModal(false);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(programIcon(parent).pixmap(32, 32));
    picIcon->setFixedSize(32, 32);
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto* label1 = textLabel(QStringLiteral("Label1"), QString::fromUtf8(AboutProductLine), this);
    QFont bold = label1->font();
    bold.setBold(true);
    label1->setFont(bold);

    const QString site = QString::fromUtf8(ConverterWebAddress);
    auto* label2 = textLabel(QStringLiteral("Label2"),
                             QString::fromUtf8(AboutConverterCredit).toHtmlEscaped() +
                                 QStringLiteral("<br>Converter web site: <a href=\"%1\">%1</a>")
                                     .arg(site.toHtmlEscaped()),
                             this);
    label2->setTextFormat(Qt::RichText);
    label2->setOpenExternalLinks(true);

    auto* lblDescription = textLabel(
        QStringLiteral("lblDescription"),
        QStringLiteral("Marks classroom typing speed tests against their source documents. "
                       "Written in 2009. Contact: %1")
            .arg(QString::fromUtf8(AboutContactAddress)),
        this);
    lblDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* lblDisclaimer = textLabel(
        QStringLiteral("lblDisclaimer"),
        QStringLiteral("Vela Keystride is provided by its authors as it is, without any warranty."),
        this);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    m_cmdSysInfo->setAutoDefault(false);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfoClick);

    auto* texts = new QVBoxLayout;
    texts->addWidget(label1);
    texts->addWidget(label2);
    texts->addWidget(separatorLine(this));
    texts->addWidget(lblDescription);
    texts->addWidget(separatorLine(this));
    texts->addWidget(lblDisclaimer);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(600);
    m_cmdOK->setFocus();
}

frmAbout::~frmAbout() = default;

void frmAbout::cmdSysInfoClick() {
    if (m_messages) {
        StartSysInfo(m_launcher, *m_messages);
        return;
    }
    QtMessageBoxes messages(this);
    StartSysInfo(m_launcher, messages);
}

void frmAbout::done(int result) {
    QDialog::done(result);
    deleteLater();
}

void showAboutBox(QWidget* parent, ProcessLauncher& launcher) {
    auto* box = new frmAbout(launcher, nullptr, parent);
    box->show();
    box->raise();
    box->activateWindow();
}

} // namespace keystride
