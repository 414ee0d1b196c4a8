// Printing a pane with its heading through the window's Qt printing, pointed at a PDF file, and
// read back with pdftotext (skipped when pdftotext is not installed).
#include "platform/desktop/qt/qt_services.h"
#include "platform/panes/qt/qt_document_pane.h"
#include "results/print_command.h"
#include "support/qt/qt_application.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace keystride {
namespace {

TEST(PrintPdf, HeadingAndTextReachThePrinter) {
    testing::qtApplication();
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("printed.pdf"));
    QtPrinting printing;
    printing.setPrinterDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QtDocumentPane pane;
    pane.setText(u"The quick brown fox\r\njumps over the lazy dog.");

    printWithHeading(pane, "/home/juf/Toetse/test1.rtf", printing);

    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    const QString lines[] = {QStringLiteral("/home/juf/Toetse/test1.rtf"),
                             QStringLiteral("The quick brown fox"),
                             QStringLiteral("jumps over the lazy dog.")};
    for (std::size_t i = 1; i < std::size(lines); ++i) {
        EXPECT_LT(text.indexOf(lines[i - 1]), text.indexOf(lines[i])) << text.toStdString();
        EXPECT_GE(text.indexOf(lines[i - 1]), 0) << text.toStdString();
    }
}

} // namespace
} // namespace keystride
