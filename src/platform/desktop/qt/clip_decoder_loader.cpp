// decodeAnimation() through the clip decoder module, loaded on first use (see clip_decoder.h).
#include "platform/desktop/qt/animation_player.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace keystride {

namespace {

struct LoadedDecoder {
    ClipDecoderFunction decode = nullptr;
    QString error; // why there is none
};

// Beside the program (a build folder), else in the module folder of an installed program.
LoadedDecoder loadDecoder() {
    const QString file = QStringLiteral(KEYSTRIDE_CLIP_DECODER_FILE);
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        programFolder + QLatin1Char('/') + file,
        programFolder + QStringLiteral("/../" KEYSTRIDE_CLIP_DECODER_INSTALL_DIR "/") + file,
    };
    LoadedDecoder loaded;
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile())
            continue;
        // The library stays loaded when the QLibrary object ends.
        QLibrary library(path);
        loaded.decode =
            reinterpret_cast<ClipDecoderFunction>(library.resolve(ClipDecoderEntryPoint));
        if (!loaded.decode)
            loaded.error =
                QStringLiteral("the clip decoder cannot be loaded: %1").arg(library.errorString());
        return loaded;
    }
    loaded.error =
        QStringLiteral("this installation of Vela Keystride has no clip decoder (%1)").arg(file);
    return loaded;
}

const LoadedDecoder& decoder() {
    // Loaded once, by the first clip decoded.
    static const LoadedDecoder loaded = loadDecoder();
    return loaded;
}

} // namespace

AnimationFrames decodeAnimation(const QString& path) {
    AnimationFrames result;
    const LoadedDecoder& loaded = decoder();
    if (loaded.decode)
        loaded.decode(path, result);
    else
        result.error =
            QStringLiteral("The animation \"%1\" cannot be played: %2").arg(path, loaded.error);
    return result;
}

bool animationDecodingAvailable() {
    return decoder().decode != nullptr;
}

} // namespace keystride
