// Waarskuwing shown modally as the open commands show it, its buttons clicked as a teacher
// clicks them: "Don't show this message again" deletes the marker (also when it is already gone)
// and leaves the dialog open; "OK" alone closes it and keeps the marker.
#include "documents/qt/waarskuwing.h"

#include "support/qt/qt_application.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <vector>

namespace keystride::testing {
namespace {

// Clicks `clicks` (1: Command1, 2: Command2) on the modal Waarskuwing and notes after each
// click whether the dialog is still open. A dialog that is not modal is closed unclicked, so that
// the suite goes on and the test fails.
void clickModalDialog(const std::vector<int>& clicks, std::vector<bool>& stillOpen) {
    auto* dialog = qobject_cast<Waarskuwing*>(QApplication::activeModalWidget());
    for (QWidget* widget : dialog ? QWidgetList{} : QApplication::topLevelWidgets()) {
        if (auto* open = qobject_cast<Waarskuwing*>(widget))
            open->reject();
    }
    for (int button : dialog ? clicks : std::vector<int>{}) {
        QTest::mouseClick(button == 1 ? dialog->command1() : dialog->command2(), Qt::LeftButton);
        stillOpen.push_back(dialog->isVisible());
    }
}

TEST(Waarskuwing, DontShowAgainDeletesTheMarkerAndOnlyOkClosesTheDialog) {
    qtApplication();
    // The buttons clicked, whether the dialog was still open after each, and the marker kept.
    const std::tuple<std::vector<int>, std::vector<bool>, bool> rows[] = {
        {{1, 1, 2}, {true, true, false}, false}, {{2}, {false}, true}};
    for (const auto& [clicks, expected, markerKept] : rows) {
        TempFolder folder;
        const std::string marker = folder.file("Warning.txt");
        writeFile(marker, "any content");
        std::vector<bool> stillOpen;
        QTimer::singleShot(0, [&] { clickModalDialog(clicks, stillOpen); });
        showWaarskuwing(nullptr, marker);
        EXPECT_EQ(stillOpen, expected) << clicks.size() << " clicks";
        EXPECT_EQ(std::filesystem::exists(marker), markerKept);
    }
}

} // namespace
} // namespace keystride::testing
