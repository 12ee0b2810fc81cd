// libFuzzer target: any bytes as a movie file, through open, scan, frame reading, audio sector
// access and decoding.

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/frame_decoder.h"
#include "core/movie_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f)
        return 0;
    reelcast::MovieReader reader;
    if (reader.openStream(f) != reelcast::kMovieOk)
        return 0;
    if (reader.scanFrames() != reelcast::kMovieOk)
        return 0;
    const auto& info = reader.info();
    // The picture size comes from the file; keep the fuzzer's picture small.
    const uint32_t w = std::min<uint32_t>(info.width, 64), h = std::min<uint32_t>(info.height, 64);
    std::vector<uint32_t> picture(size_t(w) * h);
    reelcast::FrameDecoder decoder;
    const int frames = std::min(info.totalFrames, 16);
    for (int i = 0; i < frames; ++i) {
        const int st = reader.readNextFrame();
        decoder.decodeFrame(reader.frameData(), reader.frameSize(), {picture.data(), w, h});
        if (info.audio.firstSector >= 0)
            reader.readAudioSector(info.audio.firstSector + i * std::max(info.audio.stride, 1));
        if (st != reelcast::kMovieOk)
            break;
    }
    return 0;
}
