// The busy animation's clip decoder is a module of its own, loaded by the animation player when a
// clip is first decoded: the video libraries behind it are many and large, and the clip plays only
// while a marking run works, so the program does not load them at start-up.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace keystride {

// The frames of a clip and how long each is shown.
struct AnimationFrames {
    std::vector<QImage> frames;
    int frameMilliseconds = 100;
    QString error; // why nothing was decoded; empty on success
};

// The module's one entry point, found by this name: decodes every video frame of the file at
// `path` into `result`, as decodeAnimation() describes.
inline constexpr char ClipDecoderEntryPoint[] = "keystrideDecodeClip";
using ClipDecoderFunction = void (*)(const QString& path, AnimationFrames& result);

} // namespace keystride
