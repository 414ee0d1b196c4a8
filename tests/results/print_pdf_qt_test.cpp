// Printing a pane with its heading through the window's Qt printing, pointed at a PDF file, and
// read back with pdftotext (skipped when pdftotext is not installed); the export's rich text on
// the Qt clipboard.
#include "platform/desktop/qt/clipboard_qt.h"
#include "platform/desktop/qt/qt_services.h"
#include "platform/panes/memory_pane.h"
#include "platform/panes/qt/qt_document_pane.h"
#include "results/print_command.h"
#include "support/qt/qt_application.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace keystride {
namespace {

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(PrintPdf, HeadingAndTextReachThePrinterAndThePaneIsUnchanged) {
    testing::qtApplication();
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString pdf = folder.filePath(QStringLiteral("printed.pdf"));

    QtPrinting printing;
    printing.setPrinterDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QtDocumentPane pane;
    pane.setText(u"The quick brown fox\r\njumps over the lazy dog.");
    pane.setSelStart(4);
    pane.setSelLength(5);
    pane.setSelColour(colours::red);
    pane.setChanged(false);
    const std::u16string before = pane.text();
    const std::string rtfBefore = pane.textRtf();

    printWithHeading(pane, "/home/juf/Toetse/test1.rtf", printing);

    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("/home/juf/Toetse/test1.rtf"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("The quick brown fox"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("jumps over the lazy dog."))) << text.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("test1.rtf")), text.indexOf(QStringLiteral("quick")));
    EXPECT_EQ(pane.text(), before);
    EXPECT_EQ(pane.textRtf(), rtfBefore);
    EXPECT_FALSE(pane.changed());
    EXPECT_EQ(pane.selStart(), 0);
}

TEST(QtClipboardTest, HoldsTheRtfUnderBothNamesWithThePlainTextBeside) {
    testing::qtApplication();
    QtClipboard clipboard;
    const std::string rtf = "{\\rtf1\\ansi /x/t.rtf\\par\\par Typed\\par}";
    ASSERT_TRUE(clipboard.setRichText(rtf, "/x/t.rtf\r\n\r\nTyped"));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")).toStdString(), rtf);
    EXPECT_EQ(data->data(QStringLiteral("application/rtf")).toStdString(), rtf);
    EXPECT_EQ(data->text().toStdString(), "/x/t.rtf\r\n\r\nTyped");

    clipboard.clear();
    const QMimeData* cleared = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(!cleared || !cleared->hasFormat(QStringLiteral("text/rtf")));
}

} // namespace
} // namespace keystride
