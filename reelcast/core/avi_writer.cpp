#include "core/avi_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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
bool markUncompressedHandler(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (!f) return false;
    uint8_t head[4096];
    const size_t n = std::fread(head, 1, sizeof head, f);
    bool ok = false;
    for (size_t i = 0; i + 16 <= n; ++i) {
        if (std::memcmp(head + i, "strh", 4) == 0 && std::memcmp(head + i + 8, "vids", 4) == 0) {
            ok = std::fseek(f, long(i + 12), SEEK_SET) == 0 && std::fwrite("DIB ", 1, 4, f) == 4;
            break;
        }
    }
    return std::fclose(f) == 0 && ok;
}

}  // namespace

const char* aviStatusMessage(int status) {
    switch (status) {
    case kAviCantCreateFile: return "AVIfile can't create.";
    case kAviCantCreateStream: return "Can't AVIFileCreateStream.";
    case kAviCantMakeCompressedStream: return "Can't AVIMakeCompressedStream.";
    case kAviCantSetFormat: return "Can't AVIStreamSetFormat.";
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
    AVRational videoBase{1, 15};  // one tick per frame
    int audioChannels = 0;
    int64_t videoFrames = 0;    // frames handed in
    int64_t videoPackets = 0;   // packets written
    int64_t audioFrames = 0;
    bool headerWritten = false;
    std::string path;

    ~State() {
        avcodec_free_context(&encoder);
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        if (format) {
            if (format->pb) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    bool writePacket(AVStream* st, AVRational from) {
        av_packet_rescale_ts(packet, from, st->time_base);
        packet->stream_index = st->index;
        return av_interleaved_write_frame(format, packet) >= 0;
    }

    // Writes what the encoder has ready; frames come out in order (no B-frames).
    bool drainEncoder() {
        for (;;) {
            const int r = avcodec_receive_packet(encoder, packet);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
            if (r < 0) return false;
            packet->pts = packet->dts = videoPackets++;
            packet->duration = 1;
            if (!writePacket(video, videoBase)) return false;
        }
    }
};

AviWriter::AviWriter() = default;
AviWriter::~AviWriter() { close(); }
bool AviWriter::isOpen() const { return s_ != nullptr; }

int AviWriter::open(const std::string& path, const AviVideoFormat& v, int audioChannels) {
    close();
    av_log_set_level(AV_LOG_ERROR);  // the encoders' chatter is no business of the user's
    auto s = std::make_unique<State>();
    if (avformat_alloc_output_context2(&s->format, nullptr, "avi", path.c_str()) < 0 || !s->format)
        return kAviCantCreateFile;
    if (avio_open(&s->format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return kAviCantCreateFile;
    auto fail = [&](int status) {
        s.reset();
        std::remove(path.c_str());
        return status;
    };
    s->packet = av_packet_alloc();
    if (!s->packet) return fail(kAviCantCreateFile);

    // The stream's rate: dwRate 1000000 over dwScale 1000000 / frameRate.
    const int rate = v.frameRate > 0 ? v.frameRate : 15;
    s->videoBase = AVRational{1000000 / rate, 1000000};
    s->video = avformat_new_stream(s->format, nullptr);
    if (!s->video) return fail(kAviCantCreateStream);
    s->video->time_base = s->videoBase;
    s->video->avg_frame_rate = AVRational{1000000, 1000000 / rate};
    AVCodecParameters* par = s->video->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->width = int(v.width);
    par->height = int(v.height);

    if (!v.options.compressing()) {
        par->codec_id = AV_CODEC_ID_RAWVIDEO;
        par->codec_tag = kFccDib;  // rows bottom-up as the bitmap has them (the muxer option below)
        par->format = AV_PIX_FMT_BGR24;
        par->bits_per_coded_sample = 24;
    } else {
        const CompressorInfo* info = findCompressor(v.options.fccHandler);
        const AVCodec* codec = info ? avcodec_find_encoder(AVCodecID(info->codecId)) : nullptr;
        if (!codec) return fail(kAviCantMakeCompressedStream);
        s->encoder = avcodec_alloc_context3(codec);
        if (!s->encoder) return fail(kAviCantMakeCompressedStream);
        AVCodecContext* e = s->encoder;
        e->width = int(v.width);
        e->height = int(v.height);
        e->time_base = AVRational{1, rate};
        e->framerate = AVRational{rate, 1};
        e->max_b_frames = 0;
        e->thread_count = 1;
        const AVPixelFormat* formats = codec->pix_fmts;
        e->pix_fmt = formats ? avcodec_find_best_pix_fmt_of_list(formats, AV_PIX_FMT_BGR24, 0, nullptr) : AV_PIX_FMT_BGR24;
        if (codec->id == AV_CODEC_ID_MJPEG) e->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
        const CompressionOptions& o = v.options;
        e->gop_size = (o.dwFlags & kCompressKeyFrames) && o.dwKeyFrameEvery > 0 ? int(o.dwKeyFrameEvery) : 1;
        if ((o.dwFlags & kCompressDataRate) && o.dwBytesPerSecond > 0) {
            e->bit_rate = int64_t(o.dwBytesPerSecond) * 8;
        } else {
            e->flags |= AV_CODEC_FLAG_QSCALE;
            e->global_quality = FF_QP2LAMBDA * quantiserFor(o.dwQuality);
        }
        if (s->format->oformat->flags & AVFMT_GLOBALHEADER) e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(e, codec, nullptr) < 0) return fail(kAviCantMakeCompressedStream);
        if (avcodec_parameters_from_context(par, e) < 0) return fail(kAviCantMakeCompressedStream);
        par->codec_tag = info->fourCc;
        s->frame = av_frame_alloc();
        if (!s->frame) return fail(kAviCantMakeCompressedStream);
        s->frame->format = e->pix_fmt;
        s->frame->width = e->width;
        s->frame->height = e->height;
        if (av_frame_get_buffer(s->frame, 0) < 0) return fail(kAviCantMakeCompressedStream);
        s->scaler = sws_getContext(e->width, e->height, AV_PIX_FMT_BGR24, e->width, e->height, e->pix_fmt,
                                   SWS_POINT, nullptr, nullptr, nullptr);
        if (!s->scaler) return fail(kAviCantMakeCompressedStream);
    }

    if (audioChannels > 0) {
        s->audio = avformat_new_stream(s->format, nullptr);
        if (!s->audio) return fail(kAviCantCreateStream);
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
    if (written < 0) return fail(kAviCantSetFormat);
    s->headerWritten = true;
    s->path = path;
    s_ = std::move(s);
    return kAviOk;
}

bool AviWriter::writeVideo(const OutputBitmap& bitmap) {
    if (!s_) return false;
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
    if (av_frame_make_writable(s.frame) < 0) return false;
    // The bitmap is bottom-up: start at its last row and walk backwards.
    const uint8_t* src[1] = {bitmap.pixels() + bitmap.stride() * (bitmap.height() - 1)};
    const int srcStride[1] = {-int(bitmap.stride())};
    sws_scale(s.scaler, src, srcStride, 0, int(bitmap.height()), s.frame->data, s.frame->linesize);
    s.frame->pts = index;
    if (avcodec_send_frame(s.encoder, s.frame) < 0) return false;
    return s.drainEncoder();
}

bool AviWriter::writeAudio(const int16_t* samples, int frames) {
    if (!s_ || !s_->audio || frames <= 0) return false;
    State& s = *s_;
    if (av_new_packet(s.packet, frames * s.audioChannels * 2) < 0) return false;
    std::memcpy(s.packet->data, samples, size_t(frames) * s.audioChannels * 2);
    s.packet->pts = s.packet->dts = s.audioFrames;
    s.packet->duration = frames;
    s.packet->flags = AV_PKT_FLAG_KEY;
    s.audioFrames += frames;
    const bool ok = s.writePacket(s.audio, AVRational{1, kAudioRate});
    av_packet_unref(s.packet);
    return ok;
}

bool AviWriter::close() {
    if (!s_) return true;
    bool ok = true;
    if (s_->encoder) {
        ok = avcodec_send_frame(s_->encoder, nullptr) >= 0 && s_->drainEncoder();
    }
    if (s_->headerWritten) ok = av_write_trailer(s_->format) >= 0 && ok;
    const bool raw = !s_->encoder;
    const std::string path = s_->path;
    s_.reset();
    if (ok && raw) ok = markUncompressedHandler(path);
    return ok;
}

}  // namespace reelcast
