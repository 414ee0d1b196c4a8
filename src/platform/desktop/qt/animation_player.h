// The busy animation of the main window (Animation1): a short looping clip that plays while a
// marking run works. All frames are decoded when the clip is opened, so that playing it costs
// nothing but a timer while the run keeps the user-interface thread busy.
#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace keystride {

// The frames of a clip and how long each is shown.
struct AnimationFrames {
    std::vector<QImage> frames;
    int frameMilliseconds = 100;
    QString error; // why nothing was decoded; empty on success
};

// Decodes every video frame of the file at `path`. A missing, unreadable or undecodable file
// gives no frames and an error naming the file; so does a clip too large to keep in memory.
AnimationFrames decodeAnimation(const QString& path);

// Whether this build can decode clips at all.
bool animationDecodingAvailable();

class AnimationPlayer : public QWidget {
    Q_OBJECT

public:
    explicit AnimationPlayer(QWidget* parent = nullptr);

    // Loads the clip at `path`, replacing any earlier one, and shows its first frame. False, and
    // an empty widget, when the file is missing or cannot be decoded; errorString() says why.
    bool open(const QString& path);
    // Loops the clip from the frame shown; a clip of one frame simply stays on it.
    void play();
    // Stops on the frame shown.
    void stop();

    bool isOpen() const { return !m_frames.empty(); }
    bool isPlaying() const { return m_timer.isActive(); }
    int frameCount() const { return static_cast<int>(m_frames.size()); }
    int currentFrame() const { return m_current; }
    int frameMilliseconds() const { return m_timer.interval(); }
    QImage frame(int index) const;
    const QString& errorString() const { return m_error; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();

    std::vector<QImage> m_frames;
    int m_current = 0;
    QString m_error;
    QTimer m_timer;
};

} // namespace keystride
