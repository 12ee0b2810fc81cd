#include "core/avi_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace reelcast {
namespace {

constexpr int kAudioRate = 44100;

// Quality 0..10000 to a quantiser 31..2 for the encoders that take one.
int quantiserFor(uint32_t quality) { return 2 + int((10000 - std::min<uint32_t>(quality, 10000)) * 29 / 10000); }

// The muxer leaves the video stream header's handler empty for raw frames; uncompressed bitmap
// streams name "DIB " there.
bool markUncompressedHandler(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR);
    if (fd < 0)
        return false;
    uint8_t head[4096];
    const ssize_t n = pread(fd, head, sizeof head, 0);
    bool ok = false;
    for (ssize_t i = 0; i + 16 <= n; ++i) {
        if (std::memcmp(head + i, "strh", 4) == 0 && std::memcmp(head + i + 8, "vids", 4) == 0) {
            ok = pwrite(fd, "DIB ", 4, off_t(i + 12)) == 4;
            break;
        }
    }
    return ::close(fd) == 0 && ok;
}

// The file the AVI replaces: a symbolic link's target rather than the link.
std::string targetOf(const std::string& path)
{
    std::error_code ec;
    const auto real = std::filesystem::canonical(path, ec);
    return ec ? path : real.string();
}

// A new, empty temporary file in the target's folder, so that the final rename stays within one
// file system. Its mode is the one the target has, or a new file's.
std::string createTemporaryBeside(const std::string& target)
{
    const std::filesystem::path t(target);
    std::string name = (t.parent_path() / ("." + t.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return {};
    struct stat st {};
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    ::close(fd);
    return name;
}

} // namespace

const char* aviStatusMessage(int status)
{
    switch (status) {
    case kAviCantCreateFile: return "AVIfile can't create.";
    case kAviCantCreateStream: return "Can't AVIFileCreateStream.";
    case kAviCantMakeCompressedStream: return "Can't AVIMakeCompressedStream.";
    case kAviCantSetFormat: return "Can't AVIStreamSetFormat.";
    case kAviNotRegularFile: return "The output path is not a regular file.";
    case kAviWriteError: return "File write ERROR.";
    default: return "";
    }
}

struct AviWriter::State {
    AVFormatContext* format = nullptr;
    AVStream* video = nullptr;
    AVStream* audio = nullptr;
    AVCodecContext* encoder = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    AVRational videoBase{1, 15}; // one tick per frame
    int audioChannels = 0;
    int64_t videoFrames = 0;  // frames handed in
    int64_t videoPackets = 0; // packets written
    int64_t audioFrames = 0;
    bool headerWritten = false;
    std::string target, temporary;

    ~State()
    {
        avcodec_free_context(&encoder);
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    // Video and sound go in already interleaved, one frame's worth at a time, so the muxer
    // writes each packet at once (and need not copy the bitmap).
    bool writePacket(AVStream* st, AVRational from)
    {
        av_packet_rescale_ts(packet, from, st->time_base);
        packet->stream_index = st->index;
        return av_write_frame(format, packet) >= 0 && format->pb->error >= 0;
    }

    // Writes what the encoder has ready; frames come out in order (no B-frames).
    bool drainEncoder()
    {
        for (;;) {
            const int r = avcodec_receive_packet(encoder, packet);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return true;
            if (r < 0)
                return false;
            packet->pts = packet->dts = videoPackets++;
            packet->duration = 1;
            if (!writePacket(video, videoBase))
                return false;
        }
    }
};

AviWriter::AviWriter() = default;
AviWriter::~AviWriter() { discard(); }
bool AviWriter::isOpen() const { return s_ != nullptr; }

int AviWriter::open(const std::string& path, const AviVideoFormat& v, int audioChannels)
{
    discard();
    lastError_ = 0;
    av_log_set_level(AV_LOG_ERROR); // the encoders' chatter is no business of the user's
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return kAviNotRegularFile;
    auto s = std::make_unique<State>();
    s->target = targetOf(path);
    s->temporary = createTemporaryBeside(s->target);
    if (s->temporary.empty())
        return kAviCantCreateFile;
    auto fail = [&](int status) {
        const std::string temporary = s->temporary;
        s.reset();
        unlink(temporary.c_str());
        return status;
    };
    if (avformat_alloc_output_context2(&s->format, nullptr, "avi", s->temporary.c_str()) < 0 || !s->format)
        return fail(kAviCantCreateFile);
    if (avio_open(&s->format->pb, s->temporary.c_str(), AVIO_FLAG_WRITE) < 0)
        return fail(kAviCantCreateFile);
    s->packet = av_packet_alloc();
    if (!s->packet)
        return fail(kAviCantCreateFile);

    // The stream's rate as an exact fraction: frameRate / 1.
    const int rate = v.frameRate > 0 ? v.frameRate : 15;
    s->videoBase = AVRational{1, rate};
    s->video = avformat_new_stream(s->format, nullptr);
    if (!s->video)
        return fail(kAviCantCreateStream);
    s->video->time_base = s->videoBase;
    s->video->avg_frame_rate = AVRational{rate, 1};
    AVCodecParameters* par = s->video->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->width = int(v.width);
    par->height = int(v.height);

    if (!v.options.compressing()) {
        par->codec_id = AV_CODEC_ID_RAWVIDEO;
        par->codec_tag = kFccDib; // rows bottom-up as the bitmap has them (the muxer option below)
        par->format = AV_PIX_FMT_BGR24;
        par->bits_per_coded_sample = 24;
    } else {
        const CompressorInfo* info = findCompressor(v.options.fccHandler);
        const AVCodec* codec = info ? avcodec_find_encoder(AVCodecID(info->codecId)) : nullptr;
        if (!codec)
            return fail(kAviCantMakeCompressedStream);
        s->encoder = avcodec_alloc_context3(codec);
        if (!s->encoder)
            return fail(kAviCantMakeCompressedStream);
        AVCodecContext* e = s->encoder;
        e->width = int(v.width);
        e->height = int(v.height);
        e->time_base = AVRational{1, rate};
        e->framerate = AVRational{rate, 1};
        e->max_b_frames = 0;
        e->thread_count = 1;
        const AVPixelFormat* formats = codec->pix_fmts;
        e->pix_fmt =
            formats ? avcodec_find_best_pix_fmt_of_list(formats, AV_PIX_FMT_BGR24, 0, nullptr) : AV_PIX_FMT_BGR24;
        if (codec->id == AV_CODEC_ID_MJPEG)
            e->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
        const CompressionOptions& o = v.options;
        e->gop_size = (o.dwFlags & kCompressKeyFrames) && o.dwKeyFrameEvery > 0 ? int(o.dwKeyFrameEvery) : 1;
        if ((o.dwFlags & kCompressDataRate) && o.dwBytesPerSecond > 0) {
            e->bit_rate = int64_t(o.dwBytesPerSecond) * 8;
        } else {
            e->flags |= AV_CODEC_FLAG_QSCALE;
            e->global_quality = FF_QP2LAMBDA * quantiserFor(o.dwQuality);
        }
        if (s->format->oformat->flags & AVFMT_GLOBALHEADER)
            e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(e, codec, nullptr) < 0)
            return fail(kAviCantMakeCompressedStream);
        if (avcodec_parameters_from_context(par, e) < 0)
            return fail(kAviCantMakeCompressedStream);
        par->codec_tag = info->fourCc;
        s->frame = av_frame_alloc();
        if (!s->frame)
            return fail(kAviCantMakeCompressedStream);
        s->frame->format = e->pix_fmt;
        s->frame->width = e->width;
        s->frame->height = e->height;
        if (av_frame_get_buffer(s->frame, 0) < 0)
            return fail(kAviCantMakeCompressedStream);
        s->scaler = sws_getContext(e->width, e->height, AV_PIX_FMT_BGR24, e->width, e->height, e->pix_fmt, SWS_POINT,
                                   nullptr, nullptr, nullptr);
        if (!s->scaler)
            return fail(kAviCantMakeCompressedStream);
    }

    if (audioChannels > 0) {
        s->audio = avformat_new_stream(s->format, nullptr);
        if (!s->audio)
            return fail(kAviCantCreateStream);
        s->audio->time_base = AVRational{1, kAudioRate};
        AVCodecParameters* a = s->audio->codecpar;
        a->codec_type = AVMEDIA_TYPE_AUDIO;
        a->codec_id = AV_CODEC_ID_PCM_S16LE;
        a->sample_rate = kAudioRate;
        av_channel_layout_default(&a->ch_layout, audioChannels);
        a->bits_per_coded_sample = 16;
        a->block_align = audioChannels * 2;
        a->bit_rate = int64_t(audioChannels) * 2 * 8 * kAudioRate;
        s->audioChannels = audioChannels;
    }
    // Bitmaps go in bottom-up, as BITMAPINFOHEADER rows with a positive height are.
    AVDictionary* muxerOptions = nullptr;
    av_dict_set(&muxerOptions, "flipped_raw_rgb", "1", 0);
    const int written = avformat_write_header(s->format, &muxerOptions);
    av_dict_free(&muxerOptions);
    if (written < 0)
        return fail(s->format->pb->error < 0 ? kAviWriteError : kAviCantSetFormat);
    s->headerWritten = true;
    s_ = std::move(s);
    return kAviOk;
}

// Remembers the error a failed write left on the output.
static int writeErrorOf(AVFormatContext* format)
{
    const int e = format && format->pb ? format->pb->error : 0;
    return e < 0 ? AVUNERROR(e) : EIO;
}

bool AviWriter::writeVideo(const OutputBitmap& bitmap)
{
    if (!s_)
        return false;
    const bool ok = [&] {
        State& s = *s_;
        const int64_t index = s.videoFrames++;
        if (!s.encoder) {
            s.packet->data = const_cast<uint8_t*>(bitmap.pixels());
            s.packet->size = int(bitmap.imageSize());
            s.packet->pts = s.packet->dts = index;
            s.packet->duration = 1;
            s.packet->flags = AV_PKT_FLAG_KEY;
            // The muxer copies data it has to hold back for interleaving.
            const bool ok = s.writePacket(s.video, s.videoBase);
            s.packet->data = nullptr;
            s.packet->size = 0;
            return ok;
        }
        if (av_frame_make_writable(s.frame) < 0)
            return false;
        // The bitmap is bottom-up: start at its last row and walk backwards.
        const uint8_t* src[1] = {bitmap.pixels() + bitmap.stride() * (bitmap.height() - 1)};
        const int srcStride[1] = {-int(bitmap.stride())};
        sws_scale(s.scaler, src, srcStride, 0, int(bitmap.height()), s.frame->data, s.frame->linesize);
        s.frame->pts = index;
        if (avcodec_send_frame(s.encoder, s.frame) < 0)
            return false;
        return s.drainEncoder();
    }();
    if (!ok)
        lastError_ = writeErrorOf(s_->format);
    return ok;
}

bool AviWriter::writeAudio(const int16_t* samples, int frames)
{
    if (!s_ || !s_->audio || frames <= 0)
        return false;
    State& s = *s_;
    if (av_new_packet(s.packet, frames * s.audioChannels * 2) < 0)
        return false;
    std::memcpy(s.packet->data, samples, size_t(frames) * s.audioChannels * 2);
    s.packet->pts = s.packet->dts = s.audioFrames;
    s.packet->duration = frames;
    s.packet->flags = AV_PKT_FLAG_KEY;
    s.audioFrames += frames;
    const bool ok = s.writePacket(s.audio, AVRational{1, kAudioRate});
    av_packet_unref(s.packet);
    if (!ok)
        lastError_ = writeErrorOf(s.format);
    return ok;
}

void AviWriter::discard()
{
    if (!s_)
        return;
    const std::string temporary = s_->temporary;
    s_.reset();
    unlink(temporary.c_str());
}

bool AviWriter::close()
{
    if (!s_)
        return true;
    bool ok = true;
    if (s_->encoder) {
        ok = avcodec_send_frame(s_->encoder, nullptr) >= 0 && s_->drainEncoder();
    }
    if (s_->headerWritten)
        ok = av_write_trailer(s_->format) >= 0 && s_->format->pb->error >= 0 && ok;
    if (!ok)
        lastError_ = writeErrorOf(s_->format);
    const bool raw = !s_->encoder;
    const std::string temporary = s_->temporary, target = s_->target;
    if (s_->format->pb && avio_closep(&s_->format->pb) < 0 && ok) {
        ok = false;
        lastError_ = EIO;
    }
    s_.reset();
    if (ok && raw && !markUncompressedHandler(temporary)) {
        ok = false;
        lastError_ = errno ? errno : EIO;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        lastError_ = errno;
    }
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}

} // namespace reelcast
