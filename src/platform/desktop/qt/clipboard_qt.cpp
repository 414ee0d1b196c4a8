#include "platform/desktop/qt/clipboard_qt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace keystride {

void QtClipboard::clear() {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

bool QtClipboard::setRichText(const std::string& rtf, const std::string& plainText) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    auto* data = new QMimeData;
    const QByteArray bytes = QByteArray::fromStdString(rtf);
    data->setData(QStringLiteral("text/rtf"), bytes);
    data->setData(QStringLiteral("application/rtf"), bytes);
    data->setText(QString::fromStdString(plainText));
    clipboard->setMimeData(data); // the clipboard owns it from here
    return true;
}

} // namespace keystride
