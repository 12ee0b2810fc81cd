#pragma once
// Colour conversion of one 8 x 8 luminance block with the matching 4 x 4 quarter of the chroma
// blocks, each chroma sample covering 2 x 2 pixels:
//   Y' = clamp(Y + 128, 0, 255), g = gamma[Y'], Cr and Cb clamped to -128..127,
//   R = (4096 g + 5743 Cr) / 4096, G = (4096 g - 1408 Cb - 2926 Cr) / 4096, B = (4096 g + 7258 Cb) / 4096,
// each truncated toward zero and clamped to 0..255; the pixel is R + 256 G + 65536 B.

#include <cstdint>

namespace reelcast {

// The chroma parts of the three sums for the 64 chroma samples of a macroblock (row-major).
struct ChromaTerms {
    int32_t r[64], g[64], b[64];
};
void chromaTermsScalar(const int16_t* cr, const int16_t* cb, ChromaTerms& terms);
void chromaTerms(const int16_t* cr, const int16_t* cb, ChromaTerms& terms);

// One luminance block of the given quarter (0 to 3: Y0 to Y3); luma4096[i] = gamma[i] * 4096.
void convertBlockScalar(const int16_t* y, const ChromaTerms& terms, int quarter, const int32_t* luma4096,
                        uint32_t* out);

// chromaTerms and convertBlock give the scalar results from SIMD code where the machine has it.
void convertBlock(const int16_t* y, const ChromaTerms& terms, int quarter, const int32_t* luma4096, uint32_t* out);

}  // namespace reelcast
