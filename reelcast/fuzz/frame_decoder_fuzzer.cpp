// libFuzzer target: any bytes as one frame's data. The first three bytes choose the picture size
// (up to 80 x 80, not always whole macroblocks) and the gamma value.

#include <vector>

#include "core/frame_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint32_t w = data[0] % 81, h = data[1] % 81;
    reelcast::GammaTable gamma;
    gamma.build(data[2] % 201);
    reelcast::FrameDecoder decoder;
    decoder.setGamma(gamma);
    std::vector<uint32_t> picture(size_t(w) * h);
    decoder.decodeFrame(data + 3, size - 3, {picture.data(), w, h});
    return 0;
}
