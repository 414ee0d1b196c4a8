// The busy animation of the main window (Animation1): a short looping clip that plays while a
// marking run works. All frames are decoded when the clip is opened, so that playing it costs
// nothing but a timer while the run keeps the user-interface thread busy. The window names its
// clip at start-up and has it opened when it first plays, so that starting the program loads no
// video libraries.
#pragma once

#include "platform/desktop/qt/clip_decoder/clip_decoder.h"

#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

namespace keystride {

// Decodes every video frame of the file at `path`. A missing, unreadable or undecodable file
// gives no frames and an error naming the file; so does a clip too large to keep in memory, and
// so does every file when the clip decoder cannot be loaded. The first call loads the decoder.
AnimationFrames decodeAnimation(const QString& path);

// Whether clips can be decoded at all: the clip decoder is built and loads.
bool animationDecodingAvailable();

class AnimationPlayer : public QWidget {
    Q_OBJECT

public:
    explicit AnimationPlayer(QWidget* parent = nullptr);

    // Loads the clip at `path`, replacing any earlier one, and shows its first frame. False, and
    // an empty widget, when the file is missing or cannot be decoded; errorString() says why.
    bool open(const QString& path);
    // Names the clip to open when play() is first called; until then the widget stays empty
    // and nothing is decoded.
    void openOnFirstPlay(const QString& path);
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
    std::optional<QString> m_deferredPath; // the clip to open on the first play()
    int m_current = 0;
    QString m_error;
    QTimer m_timer;
};

} // namespace keystride
