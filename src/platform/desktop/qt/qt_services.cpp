#include "platform/desktop/qt/qt_services.h"

#include "platform/files/program_folder.h"
#include "platform/panes/qt/qt_document_pane.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPrintDialog>

#include <set>

namespace keystride {

MessageAnswer QtMessageBoxes::show(const std::string& text, const std::string& title,
                                   MessageButtons buttons, MessageIcon icon) {
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        defaultButton = QMessageBox::Yes;
        break;
    case MessageButtons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        defaultButton = QMessageBox::Yes;
        break;
    }
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Question:
        qtIcon = QMessageBox::Question;
        break;
    case MessageIcon::Exclamation:
        qtIcon = QMessageBox::Warning;
        break;
    case MessageIcon::Critical:
        qtIcon = QMessageBox::Critical;
        break;
    case MessageIcon::Information:
        qtIcon = QMessageBox::Information;
        break;
    }
    // The system's messages end lines with CR; Qt breaks lines at LF.
    QString body = QString::fromStdString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(qtIcon, QString::fromStdString(title), body, standard, m_parent);
    box.setDefaultButton(defaultButton);
    if (buttons == MessageButtons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        break;
    }
    return buttons == MessageButtons::Ok      ? MessageAnswer::Ok
           : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                              : MessageAnswer::Cancel;
}

QString qtFileFilter(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i];
        QString patterns = i + 1 < parts.size() ? parts[i + 1] : QString();
        QStringList list = patterns.split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : list)
            pattern = pattern.trimmed();
        list.removeAll(QString());
        if (description.isEmpty() && list.isEmpty())
            continue;
        if (list.isEmpty())
            list.push_back(QStringLiteral("*"));
        entries.push_back(description + QStringLiteral(" (") + list.join(u' ') + u')');
    }
    return entries.join(QStringLiteral(";;"));
}

std::string QtFileDialogs::getOpenFileName(const std::string& filter, const std::string& fileName) {
    return QFileDialog::getOpenFileName(m_parent, QString(), QString::fromStdString(fileName),
                                        qtFileFilter(filter))
        .toStdString();
}

std::string QtFileDialogs::getSaveFileName(const std::string& filter, const std::string& fileName) {
    return QFileDialog::getSaveFileName(m_parent, QString(), QString::fromStdString(fileName),
                                        qtFileFilter(filter))
        .toStdString();
}

QtPrinting::QtPrinting(QWidget* parent) : m_parent(parent) {
    m_dialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, m_parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

QPrinter& QtPrinting::printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool QtPrinting::choosePrinter() {
    return m_dialog && m_dialog(printer());
}

bool QtPrinting::printPane(DocumentPane& pane) {
    if (auto* qtPane = dynamic_cast<QtDocumentPane*>(&pane))
        return qtPane->print(printer());
    // Any other pane is printed through a copy of its content with its formatting.
    QtDocumentPane copy;
    copy.setTextRtf(pane.textRtf());
    if (pane.selLength() > 0) {
        copy.setSelStart(pane.selStart());
        copy.setSelLength(pane.selLength());
    }
    return copy.print(printer());
}

QtClock::QtClock() {
    m_timer.setInterval(1000);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (m_handler)
            m_handler();
    });
}

void QtClock::setEnabled(bool enabled) {
    if (enabled == m_timer.isActive())
        return;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

QStringList registerMarkingFonts(const FileSystem& files, const std::vector<std::string>& folders) {
    // A font file is a few hundred kilobytes; anything far larger is not one of ours.
    constexpr std::size_t MaxFontBytes = 16u * 1024u * 1024u;
    static std::set<std::string> registered;
    QStringList families;
    for (std::string_view name : MarkingFontFiles) {
        for (const std::string& folder : folders) {
            std::string path =
                folder.empty() ? std::string(name) : folder + "/" + std::string(name);
            if (!files.exists(path))
                continue;
            if (registered.count(path))
                break;
            ReadResult read = files.readAll(path, MaxFontBytes);
            if (read.error)
                continue;
            int id = QFontDatabase::addApplicationFontFromData(
                QByteArray(read.bytes.data(), static_cast<qsizetype>(read.bytes.size())));
            if (id < 0)
                continue;
            registered.insert(path);
            families << QFontDatabase::applicationFontFamilies(id);
            break;
        }
    }
    return families;
}

} // namespace keystride
