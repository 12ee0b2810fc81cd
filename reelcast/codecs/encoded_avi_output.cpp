// The compressed AVI output over libavformat's AVI muxer and a libavcodec encoder, and the list of
// encoders it can use; built into reelcast_codecs.so.

#include <algorithm>
#include <cerrno>

#include "core/codec_module.h"

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

class FfmpegAviOutput final : public EncodedAviOutput {
public:
    ~FfmpegAviOutput() override
    {
        avcodec_free_context(&encoder_);
        sws_freeContext(scaler_);
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        if (format_) {
            if (format_->pb)
                avio_closep(&format_->pb);
            avformat_free_context(format_);
        }
    }

    int open(const char* path, const AviVideoFormat& v, const CompressorInfo& info, int audioChannels);
    bool writeVideo(const OutputBitmap& bitmap) override;
    bool writeAudio(const int16_t* samples, int frames) override;
    bool finish() override;
    int lastError() const override { return lastError_; }

private:
    bool writePacket(AVStream* st, AVRational from);
    bool drainEncoder();
    // Remembers the error a failed write left on the output.
    bool failed()
    {
        const int e = format_ && format_->pb ? format_->pb->error : 0;
        lastError_ = e < 0 ? AVUNERROR(e) : EIO;
        return false;
    }

    AVFormatContext* format_ = nullptr;
    AVStream* video_ = nullptr;
    AVStream* audio_ = nullptr;
    AVCodecContext* encoder_ = nullptr;
    SwsContext* scaler_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVRational videoBase_{1, 15}; // one tick per frame
    int audioChannels_ = 0;
    int64_t videoFrames_ = 0;  // frames handed in
    int64_t videoPackets_ = 0; // packets written
    int64_t audioFrames_ = 0;
    bool headerWritten_ = false;
    int lastError_ = 0;
};

int FfmpegAviOutput::open(const char* path, const AviVideoFormat& v, const CompressorInfo& info, int audioChannels)
{
    av_log_set_level(AV_LOG_ERROR); // the encoders' chatter is no business of the user's
    if (avformat_alloc_output_context2(&format_, nullptr, "avi", path) < 0 || !format_)
        return kAviCantCreateFile;
    if (avio_open(&format_->pb, path, AVIO_FLAG_WRITE) < 0)
        return kAviCantCreateFile;
    packet_ = av_packet_alloc();
    if (!packet_)
        return kAviCantCreateFile;

    // The stream's rate as an exact fraction: frameRate / 1.
    const int rate = v.frameRate > 0 ? v.frameRate : 15;
    videoBase_ = AVRational{1, rate};
    video_ = avformat_new_stream(format_, nullptr);
    if (!video_)
        return kAviCantCreateStream;
    video_->time_base = videoBase_;
    video_->avg_frame_rate = AVRational{rate, 1};
    AVCodecParameters* par = video_->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->width = int(v.width);
    par->height = int(v.height);

    const AVCodec* codec = avcodec_find_encoder(AVCodecID(info.codecId));
    if (!codec)
        return kAviCantMakeCompressedStream;
    encoder_ = avcodec_alloc_context3(codec);
    if (!encoder_)
        return kAviCantMakeCompressedStream;
    AVCodecContext* e = encoder_;
    e->width = int(v.width);
    e->height = int(v.height);
    e->time_base = AVRational{1, rate};
    e->framerate = AVRational{rate, 1};
    e->max_b_frames = 0;
    e->thread_count = 1;
    const AVPixelFormat* formats = codec->pix_fmts;
    e->pix_fmt = formats ? avcodec_find_best_pix_fmt_of_list(formats, AV_PIX_FMT_BGR24, 0, nullptr) : AV_PIX_FMT_BGR24;
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
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(e, codec, nullptr) < 0)
        return kAviCantMakeCompressedStream;
    if (avcodec_parameters_from_context(par, e) < 0)
        return kAviCantMakeCompressedStream;
    par->codec_tag = info.fourCc;
    frame_ = av_frame_alloc();
    if (!frame_)
        return kAviCantMakeCompressedStream;
    frame_->format = e->pix_fmt;
    frame_->width = e->width;
    frame_->height = e->height;
    if (av_frame_get_buffer(frame_, 0) < 0)
        return kAviCantMakeCompressedStream;
    scaler_ = sws_getContext(e->width, e->height, AV_PIX_FMT_BGR24, e->width, e->height, e->pix_fmt, SWS_POINT, nullptr,
                             nullptr, nullptr);
    if (!scaler_)
        return kAviCantMakeCompressedStream;

    if (audioChannels > 0) {
        audio_ = avformat_new_stream(format_, nullptr);
        if (!audio_)
            return kAviCantCreateStream;
        audio_->time_base = AVRational{1, kAudioRate};
        AVCodecParameters* a = audio_->codecpar;
        a->codec_type = AVMEDIA_TYPE_AUDIO;
        a->codec_id = AV_CODEC_ID_PCM_S16LE;
        a->sample_rate = kAudioRate;
        av_channel_layout_default(&a->ch_layout, audioChannels);
        a->bits_per_coded_sample = 16;
        a->block_align = audioChannels * 2;
        a->bit_rate = int64_t(audioChannels) * 2 * 8 * kAudioRate;
        audioChannels_ = audioChannels;
    }
    if (avformat_write_header(format_, nullptr) < 0)
        return format_->pb->error < 0 ? kAviWriteError : kAviCantSetFormat;
    headerWritten_ = true;
    return kAviOk;
}

// Video and sound go in already interleaved, one frame's worth at a time, so the muxer writes each
// packet at once.
bool FfmpegAviOutput::writePacket(AVStream* st, AVRational from)
{
    av_packet_rescale_ts(packet_, from, st->time_base);
    packet_->stream_index = st->index;
    return av_write_frame(format_, packet_) >= 0 && format_->pb->error >= 0;
}

// Writes what the encoder has ready; frames come out in order (no B-frames).
bool FfmpegAviOutput::drainEncoder()
{
    for (;;) {
        const int r = avcodec_receive_packet(encoder_, packet_);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            return true;
        if (r < 0)
            return false;
        packet_->pts = packet_->dts = videoPackets_++;
        packet_->duration = 1;
        if (!writePacket(video_, videoBase_))
            return false;
    }
}

bool FfmpegAviOutput::writeVideo(const OutputBitmap& bitmap)
{
    if (av_frame_make_writable(frame_) < 0)
        return failed();
    // The bitmap is bottom-up: start at its last row and walk backwards.
    const uint8_t* src[1] = {bitmap.pixels() + bitmap.stride() * (bitmap.height() - 1)};
    const int srcStride[1] = {-int(bitmap.stride())};
    sws_scale(scaler_, src, srcStride, 0, int(bitmap.height()), frame_->data, frame_->linesize);
    frame_->pts = videoFrames_++;
    if (avcodec_send_frame(encoder_, frame_) < 0 || !drainEncoder())
        return failed();
    return true;
}

bool FfmpegAviOutput::writeAudio(const int16_t* samples, int frames)
{
    if (!audio_ || frames <= 0)
        return false;
    if (av_new_packet(packet_, frames * audioChannels_ * 2) < 0)
        return false;
    std::copy(samples, samples + size_t(frames) * audioChannels_, reinterpret_cast<int16_t*>(packet_->data));
    packet_->pts = packet_->dts = audioFrames_;
    packet_->duration = frames;
    packet_->flags = AV_PKT_FLAG_KEY;
    audioFrames_ += frames;
    const bool ok = writePacket(audio_, AVRational{1, kAudioRate});
    av_packet_unref(packet_);
    return ok || failed();
}

bool FfmpegAviOutput::finish()
{
    bool ok = avcodec_send_frame(encoder_, nullptr) >= 0 && drainEncoder();
    if (headerWritten_)
        ok = av_write_trailer(format_) >= 0 && format_->pb->error >= 0 && ok;
    if (!ok)
        failed();
    if (format_->pb && avio_closep(&format_->pb) < 0 && ok) {
        ok = false;
        lastError_ = EIO;
    }
    return ok;
}

void appendCompressors(std::vector<CompressorInfo>& list)
{
    struct Candidate {
        AVCodecID id;
        const char* name;
        const char* fourCc;
        const char* description;
    };
    static constexpr Candidate kCandidates[] = {
        {AV_CODEC_ID_MJPEG, "mjpeg", "MJPG", "Motion JPEG"},
        {AV_CODEC_ID_FFV1, "ffv1", "FFV1", "FFV1 (lossless)"},
        {AV_CODEC_ID_HUFFYUV, "huffyuv", "HFYU", "HuffYUV (lossless)"},
        {AV_CODEC_ID_MPEG4, "mpeg4", "FMP4", "MPEG-4 part 2"},
        {AV_CODEC_ID_MSMPEG4V3, "msmpeg4", "DIV3", "MPEG-4 part 2 (Microsoft variant 3)"},
        {AV_CODEC_ID_MPEG2VIDEO, "mpeg2video", "MPG2", "MPEG-2 video"},
        {AV_CODEC_ID_H264, "h264", "H264", "H.264"},
        {AV_CODEC_ID_UTVIDEO, "utvideo", "ULRG", "Ut Video (lossless)"},
    };
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    for (const Candidate& c : kCandidates) {
        if (!avcodec_find_encoder(c.id))
            continue;
        if (avi && avformat_query_codec(avi, c.id, FF_COMPLIANCE_NORMAL) != 1)
            continue;
        list.push_back({makeFourCc(*reinterpret_cast<const char(*)[5]>(c.fourCc)), c.name, c.description, int(c.id)});
    }
}

int openOutput(const char* path, const AviVideoFormat& video, const CompressorInfo& codec, int audioChannels,
               std::unique_ptr<EncodedAviOutput>& out)
{
    auto output = std::make_unique<FfmpegAviOutput>();
    const int status = output->open(path, video, codec, audioChannels);
    if (status == kAviOk)
        out = std::move(output);
    return status;
}

const CodecModule kModule{appendCompressors, openOutput};

} // namespace
} // namespace reelcast

extern "C" __attribute__((visibility("default"))) const reelcast::CodecModule* reelcast_codec_module()
{
    return &reelcast::kModule;
}
