// The marking typefaces handed to the application at start-up: the five files built beside the
// program register their five families once.
#include "platform/desktop/qt/qt_services.h"
#include "platform/files/program_folder.h"
#include "support/qt/qt_application.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <filesystem>

namespace keystride {
namespace {

const QStringList MarkingFamilies = {QStringLiteral("Courier1"), QStringLiteral("Courierraam"),
                                     QStringLiteral("Courier2"), QStringLiteral("Courier3"),
                                     QStringLiteral("DoCourier")};

TEST(MarkingFonts, TheBuiltFontsRegisterTheirFamiliesOnce) {
    testing::qtApplication();
    const std::string fonts = std::string(KEYSTRIDE_BIN_DIR) + "/fonts";
    for (std::string_view name : MarkingFontFiles) {
        if (!std::filesystem::exists(fonts + "/" + std::string(name)))
            GTEST_SKIP() << "the marking fonts were not built (no fontforge)";
    }
    // A folder without them first: the files are taken from the first folder that has them.
    const QStringList families =
        registerMarkingFonts(FileSystem::real(), {"/nonexistent/keystride-fonts", fonts});
    for (const QString& family : MarkingFamilies) {
        EXPECT_TRUE(families.contains(family)) << family.toStdString();
        EXPECT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
        // The face drawn for the name is the face itself, not a substitute.
        EXPECT_EQ(QFontInfo(QFont(family)).family(), family);
    }
    EXPECT_TRUE(registerMarkingFonts(FileSystem::real(), {fonts}).isEmpty());
}

} // namespace
} // namespace keystride
