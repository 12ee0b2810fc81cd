// Our own uncompressed AVI writer: the same bytes as libavformat's AVI muxer gives the same frames
// and sound, files of several OpenDML parts read back whole by FFmpeg, and failed writes reported.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/raw_avi_writer.h"
#include "temp_dir.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace reelcast {
namespace {

struct Movie {
    uint32_t width, height;
    int rate, channels, frames;
};

size_t frameBytes(const Movie& m) { return ((size_t(m.width) * 3 + 3) & ~size_t(3)) * m.height; }
int samplesPerFrame(const Movie& m) { return 44100 / m.rate; }

// Frames and sound that differ from frame to frame and byte to byte.
std::vector<uint8_t> frameOf(const Movie& m, int i)
{
    std::vector<uint8_t> f(frameBytes(m));
    for (size_t k = 0; k < f.size(); ++k)
        f[k] = uint8_t(k * 7 + size_t(i) * 13);
    return f;
}
std::vector<int16_t> soundOf(const Movie& m, int i)
{
    std::vector<int16_t> s(size_t(samplesPerFrame(m)) * m.channels);
    for (size_t k = 0; k < s.size(); ++k)
        s[k] = int16_t(k * 31 - size_t(i) * 1000);
    return s;
}

std::vector<uint8_t> slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool writeOurs(const Movie& m, const std::string& path, const std::string& software, uint64_t partBytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    RawAviFormat format;
    format.width = m.width;
    format.height = m.height;
    format.frameRate = m.rate;
    format.audioChannels = m.channels;
    format.software = software;
    format.partBytes = partBytes;
    RawAviWriter w;
    bool ok = w.open(fd, format);
    for (int i = 0; ok && i < m.frames; ++i) {
        const auto f = frameOf(m, i);
        ok = w.writeVideo(f.data(), uint32_t(f.size()));
        if (ok && m.channels)
            ok = w.writeAudio(soundOf(m, i).data(), samplesPerFrame(m));
    }
    ok = ok && w.finish();
    return ::close(fd) == 0 && ok;
}

// The same file through libavformat's AVI muxer, set up as a raw-bitmap conversion is.
bool writeTheirs(const Movie& m, const std::string& path)
{
    AVFormatContext* fmt = nullptr;
    if (avformat_alloc_output_context2(&fmt, nullptr, "avi", path.c_str()) < 0)
        return false;
    bool ok = avio_open(&fmt->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    AVStream* v = avformat_new_stream(fmt, nullptr);
    v->time_base = AVRational{1, m.rate};
    v->avg_frame_rate = AVRational{m.rate, 1};
    v->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    v->codecpar->codec_id = AV_CODEC_ID_RAWVIDEO;
    v->codecpar->codec_tag = MKTAG('D', 'I', 'B', ' ');
    v->codecpar->format = AV_PIX_FMT_BGR24;
    v->codecpar->bits_per_coded_sample = 24;
    v->codecpar->width = int(m.width);
    v->codecpar->height = int(m.height);
    AVStream* a = nullptr;
    if (m.channels) {
        a = avformat_new_stream(fmt, nullptr);
        a->time_base = AVRational{1, 44100};
        a->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
        a->codecpar->codec_id = AV_CODEC_ID_PCM_S16LE;
        a->codecpar->sample_rate = 44100;
        av_channel_layout_default(&a->codecpar->ch_layout, m.channels);
        a->codecpar->bits_per_coded_sample = 16;
        a->codecpar->block_align = m.channels * 2;
        a->codecpar->bit_rate = int64_t(m.channels) * 16 * 44100;
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    ok = ok && avformat_write_header(fmt, &options) >= 0;
    av_dict_free(&options);
    AVPacket* p = av_packet_alloc();
    for (int i = 0; ok && i < m.frames; ++i) {
        auto f = frameOf(m, i);
        p->data = f.data();
        p->size = int(f.size());
        p->pts = p->dts = av_rescale_q(i, AVRational{1, m.rate}, v->time_base);
        p->duration = 1;
        p->flags = AV_PKT_FLAG_KEY;
        p->stream_index = v->index;
        ok = av_write_frame(fmt, p) >= 0;
        if (ok && a) {
            auto s = soundOf(m, i);
            p->data = reinterpret_cast<uint8_t*>(s.data());
            p->size = int(s.size() * 2);
            p->pts = p->dts = int64_t(i) * samplesPerFrame(m);
            p->duration = samplesPerFrame(m);
            p->stream_index = a->index;
            ok = av_write_frame(fmt, p) >= 0;
        }
    }
    p->data = nullptr;
    p->size = 0;
    av_packet_free(&p);
    ok = ok && av_write_trailer(fmt) >= 0;
    avio_closep(&fmt->pb);
    avformat_free_context(fmt);
    return ok;
}

class RawAviLayout : public testing::TestWithParam<Movie> {};

TEST_P(RawAviLayout, MatchesTheMuxerByteForByte)
{
    const Movie m = GetParam();
    suite::test::TempDir dir;
    const std::string ours = dir.file("ours.avi"), theirs = dir.file("theirs.avi");
    ASSERT_TRUE(writeOurs(m, ours, LIBAVFORMAT_IDENT, kAviPartBytes));
    ASSERT_TRUE(writeTheirs(m, theirs));
    const auto a = slurp(ours);
    auto b = slurp(theirs);
    // The muxer leaves the video stream's handler empty; ours names the bitmaps, as the files the
    // converter wrote always did.
    const char* vids = "vids";
    const auto type = std::search(b.begin(), b.end(), vids, vids + 4);
    ASSERT_NE(type, b.end());
    std::memcpy(&*type + 4, "DIB ", 4);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        ASSERT_EQ(a[i], b[i]) << "first difference at byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Formats, RawAviLayout,
                         testing::Values(Movie{320, 240, 15, 2, 12}, Movie{322, 241, 24, 1, 5}, Movie{48, 16, 30, 0, 9},
                                         Movie{16, 16, 10, 2, 1}));

// Parts of a few kilobytes give the layout of a file past 1 GiB: AVIX parts, standard indexes and
// super indexes. FFmpeg must read every frame and sample back exactly.
TEST(RawAviParts, ReadBackWholeAcrossParts)
{
    const std::string ffmpeg = REELCAST_FFMPEG;
    if (ffmpeg.empty() || ffmpeg.find("NOTFOUND") != std::string::npos)
        GTEST_SKIP() << "ffmpeg not found";
    const Movie m{32, 16, 15, 2, 40};
    suite::test::TempDir dir;
    const std::string file = dir.file("parts.avi");
    ASSERT_TRUE(writeOurs(m, file, "reelcast", 20000));
    const auto bytes = slurp(file);
    size_t parts = 0;
    for (size_t at = 0; at + 12 <= bytes.size(); ++parts) {
        ASSERT_EQ(std::memcmp(&bytes[at], "RIFF", 4), 0) << "part " << parts;
        ASSERT_EQ(std::memcmp(&bytes[at + 8], parts ? "AVIX" : "AVI ", 4), 0);
        uint32_t size;
        std::memcpy(&size, &bytes[at + 4], 4);
        at += 8 + size_t(size);
    }
    EXPECT_GE(parts, 3u);

    std::vector<uint8_t> pictures, sound;
    for (int i = 0; i < m.frames; ++i) {
        const auto f = frameOf(m, i);
        // bottom-up rows come back top-down
        const size_t stride = frameBytes(m) / m.height;
        for (uint32_t y = m.height; y-- > 0;)
            pictures.insert(pictures.end(), f.begin() + ptrdiff_t(y * stride),
                            f.begin() + ptrdiff_t(y * stride + m.width * 3));
        const auto s = soundOf(m, i);
        const auto* raw = reinterpret_cast<const uint8_t*>(s.data());
        sound.insert(sound.end(), raw, raw + s.size() * 2);
    }
    for (const auto& [args, expected] : {std::pair{std::string("-map 0:v -f rawvideo -pix_fmt bgr24"), &pictures},
                                         std::pair{std::string("-map 0:a -f s16le"), &sound}}) {
        const std::string out = dir.file("decoded.raw");
        const std::string cmd =
            "'" + ffmpeg + "' -nostdin -v error -xerror -i '" + file + "' " + args + " -y '" + out + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        EXPECT_TRUE(slurp(out) == *expected) << args;
    }
}

TEST(RawAviParts, FailedWritesAreReported)
{
    const int fd = ::open("/dev/full", O_WRONLY);
    if (fd < 0)
        GTEST_SKIP() << "no /dev/full";
    RawAviWriter w;
    RawAviFormat format;
    format.width = format.height = 16;
    EXPECT_FALSE(w.open(fd, format));
    EXPECT_EQ(w.lastError(), ENOSPC);
    ::close(fd);
}

} // namespace
} // namespace reelcast
