// The clip decoder module: clip decoding through FFmpeg's libraries, whatever container and codec
// they know.
#include "platform/desktop/qt/clip_decoder/clip_decoder.h"

#include <QFile>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

namespace keystride {

namespace {

// The clip is a busy indicator beside a label: anything beyond these is not a busy clip, and
// decoding it whole would only eat memory.
constexpr int MaxFrames = 2000;
constexpr int MaxSide = 4096;
constexpr std::int64_t MaxDecodedBytes = 64ll * 1024 * 1024;

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerFreer {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

QString ffmpegError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

int frameMillisecondsOf(const AVStream* stream) {
    AVRational rate = stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        return 100;
    const double ms = 1000.0 * rate.den / rate.num;
    if (ms < 20.0)
        return 20;
    if (ms > 2000.0)
        return 2000;
    return static_cast<int>(ms + 0.5);
}

class Decoder {
public:
    explicit Decoder(const QString& path) : m_path(path) {}

    AnimationFrames run() {
        AnimationFrames result;
        QString error = decode(result);
        if (!error.isEmpty()) {
            result.frames.clear();
            result.error =
                QStringLiteral("The animation \"%1\" cannot be played: %2").arg(m_path, error);
        } else if (result.frames.empty()) {
            result.error =
                QStringLiteral("The animation \"%1\" cannot be played: it holds no pictures")
                    .arg(m_path);
        }
        return result;
    }

private:
    QString decode(AnimationFrames& result) {
        const QFileInfo info(m_path);
        if (!info.exists())
            return QStringLiteral("the file does not exist");
        if (!info.isFile())
            return QStringLiteral("it is not a file");

        AVFormatContext* rawFormat = nullptr;
        const QByteArray localPath = QFile::encodeName(m_path);
        int status = avformat_open_input(&rawFormat, localPath.constData(), nullptr, nullptr);
        if (status < 0)
            return ffmpegError(status);
        std::unique_ptr<AVFormatContext, FormatCloser> format(rawFormat);
        status = avformat_find_stream_info(format.get(), nullptr);
        if (status < 0)
            return ffmpegError(status);

        const AVCodec* codec = nullptr;
        const int streamIndex =
            av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
        if (streamIndex < 0 || !codec)
            return QStringLiteral("it holds no video that can be decoded");
        const AVStream* stream = format->streams[streamIndex];

        std::unique_ptr<AVCodecContext, CodecFreer> decoder(avcodec_alloc_context3(codec));
        if (!decoder)
            return QStringLiteral("out of memory");
        status = avcodec_parameters_to_context(decoder.get(), stream->codecpar);
        if (status < 0)
            return ffmpegError(status);
        status = avcodec_open2(decoder.get(), codec, nullptr);
        if (status < 0)
            return ffmpegError(status);
        result.frameMilliseconds = frameMillisecondsOf(stream);

        std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
        std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
        if (!packet || !frame)
            return QStringLiteral("out of memory");

        while (true) {
            status = av_read_frame(format.get(), packet.get());
            if (status == AVERROR_EOF)
                break;
            if (status < 0)
                return ffmpegError(status);
            if (packet->stream_index == streamIndex)
                status = avcodec_send_packet(decoder.get(), packet.get());
            av_packet_unref(packet.get());
            // A damaged packet is skipped; the frames around it still play.
            if (status < 0 && status != AVERROR(EAGAIN) && status != AVERROR_INVALIDDATA)
                return ffmpegError(status);
            QString error = receiveFrames(decoder.get(), frame.get(), result);
            if (!error.isEmpty())
                return error;
        }
        avcodec_send_packet(decoder.get(), nullptr); // drain
        return receiveFrames(decoder.get(), frame.get(), result);
    }

    QString receiveFrames(AVCodecContext* decoder, AVFrame* frame, AnimationFrames& result) {
        while (true) {
            const int status = avcodec_receive_frame(decoder, frame);
            if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
                return {};
            if (status == AVERROR_INVALIDDATA)
                continue;
            if (status < 0)
                return ffmpegError(status);
            QString error = keepFrame(frame, result);
            av_frame_unref(frame);
            if (!error.isEmpty())
                return error;
        }
    }

    QString keepFrame(const AVFrame* frame, AnimationFrames& result) {
        const int width = frame->width;
        const int height = frame->height;
        if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide)
            return QStringLiteral("a picture of %1 by %2 pixels is not a busy animation")
                .arg(width)
                .arg(height);
        if (static_cast<int>(result.frames.size()) >= MaxFrames)
            return QStringLiteral("it has more than %1 pictures").arg(MaxFrames);
        m_decodedBytes += std::int64_t(width) * height * 4;
        if (m_decodedBytes > MaxDecodedBytes)
            return QStringLiteral("its pictures need more than %1 MB").arg(MaxDecodedBytes >> 20);

        m_scaler.reset(sws_getCachedContext(
            m_scaler.release(), width, height, static_cast<AVPixelFormat>(frame->format), width,
            height, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!m_scaler)
            return QStringLiteral("its picture format cannot be converted");
        // The converter writes whole vector blocks, so it gets a buffer laid out the way the
        // library allocates one; the rows are copied into the image afterwards.
        uint8_t* planes[4] = {};
        int strides[4] = {};
        if (av_image_alloc(planes, strides, width, height, AV_PIX_FMT_RGB32, 64) < 0)
            return QStringLiteral("out of memory");
        std::unique_ptr<uint8_t, void (*)(uint8_t*)> buffer(planes[0],
                                                            [](uint8_t* p) { av_freep(&p); });
        const int rows =
            sws_scale(m_scaler.get(), frame->data, frame->linesize, 0, height, planes, strides);
        if (rows != height)
            return QStringLiteral("a picture could not be converted");
        QImage image(width, height, QImage::Format_RGB32);
        if (image.isNull())
            return QStringLiteral("out of memory");
        for (int y = 0; y < height; ++y)
            std::memcpy(image.scanLine(y), planes[0] + std::ptrdiff_t(y) * strides[0],
                        std::size_t(width) * 4);
        result.frames.push_back(std::move(image));
        return {};
    }

    QString m_path;
    std::unique_ptr<SwsContext, ScalerFreer> m_scaler;
    std::int64_t m_decodedBytes = 0;
};

} // namespace

} // namespace keystride

extern "C" Q_DECL_EXPORT void keystrideDecodeClip(const QString& path,
                                                  keystride::AnimationFrames& result) {
    // Failures come back as values with a message naming the file; the libraries' own chatter
    // on the terminal would tell the user nothing more.
    av_log_set_level(AV_LOG_QUIET);
    result = keystride::Decoder(path).run();
}
