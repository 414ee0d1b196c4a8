// The busy animation: the clip shipped beside the program plays, and files that are missing or
// are not clips leave the control empty.
#include "platform/desktop/qt/animation_player.h"

#include "support/qt/qt_application.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace keystride {
namespace {

const QString ShippedClip = QStringLiteral(KEYSTRIDE_DATA_DIR "/cdverify.avi");

class AnimationPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::qtApplication();
        ASSERT_TRUE(m_dir.isValid());
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray shippedBytes() {
        QFile file(ShippedClip);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(AnimationPlayerTest, TheShippedClipHasSeveralDistinctFrames) {
    if (!animationDecodingAvailable())
        GTEST_SKIP() << "built without a video decoder";
    AnimationPlayer player;
    ASSERT_TRUE(player.open(ShippedClip)) << player.errorString().toStdString();
    EXPECT_TRUE(player.errorString().isEmpty());
    EXPECT_GT(player.frameCount(), 1);
    EXPECT_EQ(player.frame(0).size(), QSize(40, 32));
    EXPECT_EQ(player.sizeHint(), QSize(40, 32));
    EXPECT_GT(player.frameMilliseconds(), 0);

    QSet<QByteArray> distinct;
    for (int i = 0; i < player.frameCount(); ++i) {
        const QImage image = player.frame(i);
        distinct.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                   static_cast<qsizetype>(image.sizeInBytes())));
    }
    EXPECT_GT(distinct.size(), 1) << "the frames do not move";
    EXPECT_TRUE(player.frame(player.frameCount()).isNull());
    EXPECT_TRUE(player.frame(-1).isNull());
}

TEST_F(AnimationPlayerTest, PlayLoopsThroughTheFramesAndStopHolds) {
    if (!animationDecodingAvailable())
        GTEST_SKIP() << "built without a video decoder";
    AnimationPlayer player;
    ASSERT_TRUE(player.open(ShippedClip));
    player.resize(player.sizeHint());
    player.show();
    EXPECT_FALSE(player.isPlaying());
    player.play();
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.currentFrame() != 0; }));
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    const int held = player.currentFrame();
    QTest::qWait(3 * player.frameMilliseconds());
    EXPECT_EQ(player.currentFrame(), held);
}

TEST_F(AnimationPlayerTest, FilesThatAreNoClipLeaveTheControlEmpty) {
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919 + 13) % 251);
    const QByteArray clip = shippedBytes();
    const QByteArray aviHeaderOnly = clip.left(64);
    QByteArray damaged = clip;
    for (int i = 256; i < damaged.size(); i += 3)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5a);

    struct Case {
        const char* name;
        QString path;
    };
    const Case cases[] = {
        {"missing file", m_dir.filePath("nothing-here.avi")},
        {"empty file", writeFile("empty.avi", {})},
        {"garbage", writeFile("garbage.avi", garbage)},
        {"text", writeFile("text.avi", "This is not a video clip.\r\n")},
        {"header only", writeFile("header.avi", aviHeaderOnly)},
        {"a folder", m_dir.path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnimationPlayer player;
        EXPECT_FALSE(player.open(c.path));
        EXPECT_FALSE(player.isOpen());
        EXPECT_EQ(player.frameCount(), 0);
        EXPECT_TRUE(player.errorString().contains(c.path)) << player.errorString().toStdString();
        player.play();
        EXPECT_FALSE(player.isPlaying());
        player.show();
        player.repaint(); // painting an empty control must be harmless
        player.stop();
    }

    // A clip whose pictures are damaged may yield some frames or none, but never a crash.
    AnimationPlayer player;
    const bool opened = player.open(writeFile("damaged.avi", damaged));
    EXPECT_EQ(opened, player.frameCount() > 0);
}

TEST_F(AnimationPlayerTest, ACutOffClipGivesTheFramesBeforeTheCutOrNone) {
    if (!animationDecodingAvailable())
        GTEST_SKIP() << "built without a video decoder";
    const QByteArray clip = shippedBytes();
    ASSERT_FALSE(clip.isEmpty());
    AnimationPlayer whole;
    ASSERT_TRUE(whole.open(ShippedClip));
    for (qsizetype length = 0; length < clip.size(); length += 487) {
        SCOPED_TRACE(length);
        AnimationPlayer player;
        const bool opened =
            player.open(writeFile(QStringLiteral("cut-%1.avi").arg(length), clip.left(length)));
        EXPECT_EQ(opened, player.frameCount() > 0);
        EXPECT_LE(player.frameCount(), whole.frameCount());
    }
}

// The window names its clip at start-up and the clip is decoded, through the decoder module
// loaded then, when it first plays; a clip that cannot be played leaves the control empty then.
TEST_F(AnimationPlayerTest, AClipNamedForTheFirstPlayOpensWhenItPlays) {
    if (!animationDecodingAvailable())
        GTEST_SKIP() << "built without a video decoder";
    struct Row {
        const char* name;
        QString path;
        bool plays;
    };
    const Row rows[] = {
        {"the shipped clip", ShippedClip, true},
        {"a missing clip", m_dir.filePath("gone.avi"), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnimationPlayer player;
        player.openOnFirstPlay(row.path);
        EXPECT_FALSE(player.isOpen());
        EXPECT_TRUE(player.errorString().isEmpty());
        player.play();
        EXPECT_EQ(player.isOpen(), row.plays);
        EXPECT_EQ(player.isPlaying(), row.plays);
        EXPECT_EQ(player.frameCount() > 1, row.plays);
        EXPECT_EQ(player.errorString().contains(row.path), !row.plays);
        player.stop();
        player.play(); // after a stop, the clip plays again without opening it anew
        EXPECT_EQ(player.isPlaying(), row.plays);
    }
}

TEST_F(AnimationPlayerTest, AFailedOpenDropsTheClipShownBefore) {
    if (!animationDecodingAvailable())
        GTEST_SKIP() << "built without a video decoder";
    AnimationPlayer player;
    ASSERT_TRUE(player.open(ShippedClip));
    player.play();
    EXPECT_FALSE(player.open(m_dir.filePath("gone.avi")));
    EXPECT_EQ(player.frameCount(), 0);
    EXPECT_FALSE(player.isPlaying());
}

} // namespace
} // namespace keystride
