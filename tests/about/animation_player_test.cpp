// The busy animation: the clip shipped beside the program loops through frames that move, and a
// file that is missing, no clip, cut off or damaged, opened over it, leaves the control empty or
// gives what it holds.
#include "platform/desktop/qt/animation_player.h"

#include "support/qt/qt_application.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <utility>

namespace keystride::testing {
namespace {

const QString ShippedClip = QStringLiteral(KEYSTRIDE_SOURCE_DIR "/data/cdverify.avi");

TEST(AnimationPlayer, TheShippedClipLoopsAndOtherFilesLeaveTheControlEmpty) {
    qtApplication();
    const bool decodes = animationDecodingAvailable();
    TempFolder folder;
    const std::string clip = readFile(ShippedClip.toStdString());
    std::string damaged = clip;
    std::replace(damaged.begin() + 256, damaged.end(), '\0', '\x5a');
    // No clip, then what may give some frames or none; after them a missing file and a folder.
    const std::vector<std::string> rows = {
        "",      std::string(4096, '\xa5'), "Not a video clip.\r\n",        clip.substr(0, 64),
        damaged, clip.substr(0, 487),       clip.substr(0, clip.size() / 2)};
    AnimationPlayer player;
    ASSERT_EQ(player.open(ShippedClip), decodes);
    player.show();
    player.play();
    // Playing reaches a picture other than the first.
    EXPECT_EQ(decodes, QTest::qWaitFor(
                           [&] { return player.frame(player.currentFrame()) != player.frame(0); }));

    for (std::size_t row = 0; row <= rows.size() + 1; ++row) {
        SCOPED_TRACE(row);
        const std::string path = folder.file(std::to_string(row) + ".avi");
        if (row < rows.size())
            writeFile(path, rows[row]);
        else if (row > rows.size())
            std::filesystem::create_directory(path);
        player.open(ShippedClip);
        player.play();
        const bool opened = player.open(QString::fromStdString(path));
        EXPECT_EQ(opened, player.frameCount() > 0);
        EXPECT_TRUE(opened ? row >= 4 && row < rows.size()
                           : player.errorString().contains(path.c_str()));
        EXPECT_FALSE(player.isPlaying());
        player.repaint(); // painting an empty control must be harmless
    }
}

// The window names its clip at start-up and the clip is decoded, through the decoder module
// loaded then, when it first plays; a clip that cannot be played leaves the control empty then.
TEST(AnimationPlayer, AClipNamedForTheFirstPlayOpensWhenItPlays) {
    qtApplication();
    if (!animationDecodingAvailable())
        GTEST_SKIP() << "built without a video decoder";
    TempFolder folder;
    const QString missing = QString::fromStdString(folder.file("gone.avi"));
    for (const auto& [path, plays] : {std::pair{ShippedClip, true}, std::pair{missing, false}}) {
        SCOPED_TRACE(path.toStdString());
        AnimationPlayer player;
        player.openOnFirstPlay(path);
        EXPECT_FALSE(player.isOpen());
        player.play();
        EXPECT_EQ(player.isPlaying(), plays);
        EXPECT_EQ(player.frameCount() > 1, plays);
        EXPECT_EQ(player.errorString().contains(path), !plays);
        player.stop();
        player.play(); // after a stop the clip plays again without opening it anew
        EXPECT_EQ(player.isPlaying(), plays);
    }
}

} // namespace
} // namespace keystride::testing
