// The window's document commands with the system clipboard and LibreOffice behind them: an export
// puts the speed test's RTF on the clipboard and starts Writer on a new document; names that are
// not document commands are refused.
#include "documents/qt/window_documents.h"

#include "documents_fixture.h"
#include "support/qt/qt_application.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace keystride::testing {
namespace {

class WindowDocumentsTest : public DocumentsTest {};

TEST_F(WindowDocumentsTest, ExportGoesThroughTheClipboardToWriter) {
    testing::qtApplication();
    WindowDocuments documents(context, {}, path("program"));
    processes.addProgram("soffice", "/usr/bin/soffice");
    typed.setText(u"Typed text");
    view.setLabel3("/x/test.rtf");

    ASSERT_TRUE(documents.run("mnuExport"));

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")).toStdString(), typed.textRtf());
    EXPECT_EQ(data->text().toStdString(), "/x/test.rtf\r\n\r\nTyped text");
    ASSERT_EQ(processes.calls().size(), 1u);
    EXPECT_TRUE(processes.calls()[0].detached);
    EXPECT_EQ(processes.calls()[0].args.at(0), "--writer");
    const std::string file = processes.calls()[0].args.at(2);
    EXPECT_NE(readFile(file).find("\\margl1400"), std::string::npos);
    std::filesystem::remove(file);

    EXPECT_FALSE(documents.run("mnuCalculate"));
}

} // namespace
} // namespace keystride::testing
