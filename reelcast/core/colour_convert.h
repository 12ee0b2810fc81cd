#pragma once
// Colour conversion of one 8 x 8 luminance block with the matching 4 x 4 quarter of the chroma
// blocks, each chroma sample covering 2 x 2 pixels:
//   Y' = clamp(Y + 128, 0, 255), g = gamma[Y'], Cr and Cb clamped to -128..127,
//   R = (4096 g + 5743 Cr) / 4096, G = (4096 g - 1408 Cb - 2926 Cr) / 4096, B = (4096 g + 7258 Cb) / 4096,
//   each truncated toward zero and clamped to 0..255; the pixel is R + 256 G + 65536 B.
// Since 4096 g is a multiple of 4096, R = g + floor(5743 Cr / 4096) wherever R is not clamped to 0
// (a negative sum truncates to a value <= 0 and clamps to 0 either way), and likewise G and B: the
// chroma part of each channel is one small offset per chroma sample.

#include <cstdint>

namespace reelcast {

// The channel offsets floor(term / 4096) of the 64 chroma samples of a macroblock (row-major).
struct ChromaTerms {
    int16_t r[64], g[64], b[64];
};

// One pixel from its luminance sample and the offsets of its chroma sample.
inline uint32_t convertPixel(int y, int rOffset, int gOffset, int bOffset, const uint8_t* gamma)
{
    auto clamp = [](int v, int hi) { return v < 0 ? 0 : (v > hi ? hi : v); };
    const int g = gamma[clamp(y + 128, 255)];
    return uint32_t(clamp(g + rOffset, 255)) | uint32_t(clamp(g + gOffset, 255)) << 8 |
           uint32_t(clamp(g + bOffset, 255)) << 16;
}

// One luminance block of the given quarter (0 to 3: Y0 to Y3); gamma holds the 256 table entries.
void chromaTermsScalar(const int16_t* cr, const int16_t* cb, ChromaTerms& terms);
void convertBlockScalar(const int16_t* y, const ChromaTerms& terms, int quarter, const uint8_t* gamma, uint32_t* out);

// The same results from SIMD code where the machine has it.
void chromaTerms(const int16_t* cr, const int16_t* cb, ChromaTerms& terms);
void convertBlock(const int16_t* y, const ChromaTerms& terms, int quarter, const uint8_t* gamma, uint32_t* out);

} // namespace reelcast
