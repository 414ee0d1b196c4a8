// Builds without FFmpeg's libraries open no clips: the control stays empty, as it does when the
// clip is missing.
#include "platform/desktop/qt/animation_player.h"

namespace keystride {

AnimationFrames decodeAnimation(const QString& path) {
    AnimationFrames result;
    result.error = QStringLiteral("The animation \"%1\" cannot be played: this build of Vela "
                                  "Keystride cannot decode video clips")
                       .arg(path);
    return result;
}

bool animationDecodingAvailable() {
    return false;
}

} // namespace keystride
