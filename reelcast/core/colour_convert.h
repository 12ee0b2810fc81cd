#pragma once
// Colour conversion of one 8 x 8 luminance block with the matching 4 x 4 quarter of the chroma
// blocks, each chroma sample covering 2 x 2 pixels:
//   Y' = clamp(Y + 128, 0, 255), g = gamma[Y'], Cr and Cb clamped to -128..127,
//   R = (4096 g + 5743 Cr) / 4096, G = (4096 g - 1408 Cb - 2926 Cr) / 4096, B = (4096 g + 7258 Cb) / 4096,
// each truncated toward zero and clamped to 0..255; the pixel is R + 256 G + 65536 B.

#include <cstdint>

namespace reelcast {

// The chroma parts of the three sums for the 16 samples of one quarter (0 to 3: Y0 to Y3).
struct ChromaTerms {
    int32_t r[16], g[16], b[16];
};
ChromaTerms chromaTerms(const int16_t* cr, const int16_t* cb, int quarter);

// luma4096[i] = gamma[i] * 4096.
void convertBlockScalar(const int16_t* y, const ChromaTerms& terms, const int32_t* luma4096, uint32_t* out);
// The same result from SIMD code where the machine has it (the scalar code otherwise).
void convertBlock(const int16_t* y, const ChromaTerms& terms, const int32_t* luma4096, uint32_t* out);

}  // namespace reelcast
