#include "platform/desktop/qt/animation_player.h"

#include <QPainter>

namespace keystride {

namespace {

// The size of Animation1 on the main window, used until a clip says otherwise.
constexpr QSize DefaultSize(41, 32);

} // namespace

AnimationPlayer::AnimationPlayer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Animation1"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(&m_timer, &QTimer::timeout, this, &AnimationPlayer::advance);
}

bool AnimationPlayer::open(const QString& path) {
    m_deferredPath.reset();
    m_timer.stop();
    AnimationFrames decoded = decodeAnimation(path);
    m_frames = std::move(decoded.frames);
    m_current = 0;
    m_error = decoded.error;
    if (!m_frames.empty())
        m_timer.setInterval(decoded.frameMilliseconds);
    updateGeometry();
    update();
    return !m_frames.empty();
}

void AnimationPlayer::openOnFirstPlay(const QString& path) {
    m_timer.stop();
    m_frames.clear();
    m_current = 0;
    m_error.clear();
    m_deferredPath = path;
    updateGeometry();
    update();
}

void AnimationPlayer::play() {
    if (m_deferredPath)
        open(*m_deferredPath);
    if (m_frames.size() > 1)
        m_timer.start();
    update();
}

void AnimationPlayer::stop() {
    m_timer.stop();
}

QImage AnimationPlayer::frame(int index) const {
    if (index < 0 || index >= frameCount())
        return {};
    return m_frames[static_cast<std::size_t>(index)];
}

QSize AnimationPlayer::sizeHint() const {
    return m_frames.empty() ? DefaultSize : m_frames.front().size();
}

void AnimationPlayer::advance() {
    if (m_frames.empty())
        return;
    m_current = (m_current + 1) % frameCount();
    update();
}

void AnimationPlayer::paintEvent(QPaintEvent*) {
    if (m_frames.empty())
        return;
    const QImage& image = m_frames[static_cast<std::size_t>(m_current)];
    // A clip larger than the control is shrunk to fit, keeping its proportions.
    QSize size = image.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

} // namespace keystride
