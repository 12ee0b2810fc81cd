#include "core/colour_convert.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace reelcast {
namespace {

int32_t clampInt(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// (x / 4096) truncated and clamped to 0..255: a negative x truncates to a value <= 0, which clamps
// to 0, so the floor of the shift gives the same channel.
uint32_t toChannel(int32_t x) { return uint32_t(clampInt(x >> 12, 0, 255)); }

}  // namespace

void chromaTermsScalar(const int16_t* cr, const int16_t* cb, ChromaTerms& terms) {
    for (int i = 0; i < 64; ++i) {
        const int32_t crv = clampInt(cr[i], -128, 127), cbv = clampInt(cb[i], -128, 127);
        terms.r[i] = 5743 * crv;
        terms.g[i] = -1408 * cbv - 2926 * crv;
        terms.b[i] = 7258 * cbv;
    }
}

void convertBlockScalar(const int16_t* y, const ChromaTerms& terms, int quarter, const int32_t* luma4096,
                        uint32_t* out) {
    const int cx0 = (quarter & 1) * 4, cy0 = (quarter >> 1) * 4;
    for (int py = 0; py < 8; ++py) {
        for (int px = 0; px < 8; ++px) {
            const int i = (cy0 + py / 2) * 8 + cx0 + px / 2;
            const int32_t g = luma4096[clampInt(y[py * 8 + px] + 128, 0, 255)];
            out[py * 8 + px] =
                toChannel(g + terms.r[i]) | toChannel(g + terms.g[i]) << 8 | toChannel(g + terms.b[i]) << 16;
        }
    }
}

#if defined(__SSE2__)

namespace {

// Eight channel values (x >> 12), clamped to 0..255 by the saturating packs, in the low 8 bytes.
__m128i channel8(__m128i g0, __m128i g1, const int32_t* terms) {
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(terms));
    const __m128i lo = _mm_srai_epi32(_mm_add_epi32(g0, _mm_unpacklo_epi32(t, t)), 12);
    const __m128i hi = _mm_srai_epi32(_mm_add_epi32(g1, _mm_unpackhi_epi32(t, t)), 12);
    const __m128i words = _mm_packs_epi32(lo, hi);  // within -227..480, no saturation here
    return _mm_packus_epi16(words, words);
}

}  // namespace

void chromaTerms(const int16_t* cr, const int16_t* cb, ChromaTerms& terms) {
    const __m128i lo = _mm_set1_epi16(-128), hi = _mm_set1_epi16(127);
    // Each pair (Cr, Cb) times a pair of factors, summed in 32 bits by one multiply-add.
    const __m128i rFactors = _mm_setr_epi16(5743, 0, 5743, 0, 5743, 0, 5743, 0);
    const __m128i gFactors = _mm_setr_epi16(-2926, -1408, -2926, -1408, -2926, -1408, -2926, -1408);
    const __m128i bFactors = _mm_setr_epi16(0, 7258, 0, 7258, 0, 7258, 0, 7258);
    for (int i = 0; i < 64; i += 8) {
        const __m128i crv = _mm_min_epi16(_mm_max_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cr + i)), lo), hi);
        const __m128i cbv = _mm_min_epi16(_mm_max_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cb + i)), lo), hi);
        const __m128i pairs[2] = {_mm_unpacklo_epi16(crv, cbv), _mm_unpackhi_epi16(crv, cbv)};
        for (int h = 0; h < 2; ++h) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(terms.r + i + 4 * h), _mm_madd_epi16(pairs[h], rFactors));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(terms.g + i + 4 * h), _mm_madd_epi16(pairs[h], gFactors));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(terms.b + i + 4 * h), _mm_madd_epi16(pairs[h], bFactors));
        }
    }
}

void convertBlock(const int16_t* y, const ChromaTerms& terms, int quarter, const int32_t* luma4096, uint32_t* out) {
    const int base = (quarter >> 1) * 32 + (quarter & 1) * 4;  // first chroma sample of the quarter
    const __m128i bias = _mm_set1_epi16(128);
    const __m128i zero = _mm_setzero_si128();
    for (int py = 0; py < 8; ++py) {
        // Y + 128 saturates in 16 bits, then the unsigned pack clamps it to 0..255.
        const __m128i yv = _mm_adds_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y + py * 8)), bias);
        alignas(16) uint8_t level[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(level), _mm_packus_epi16(yv, yv));
        const __m128i g0 = _mm_setr_epi32(luma4096[level[0]], luma4096[level[1]], luma4096[level[2]], luma4096[level[3]]);
        const __m128i g1 = _mm_setr_epi32(luma4096[level[4]], luma4096[level[5]], luma4096[level[6]], luma4096[level[7]]);
        const int row = base + (py / 2) * 8;
        const __m128i r = channel8(g0, g1, terms.r + row);
        const __m128i g = channel8(g0, g1, terms.g + row);
        const __m128i b = channel8(g0, g1, terms.b + row);
        const __m128i rg = _mm_unpacklo_epi8(r, g);
        const __m128i b0 = _mm_unpacklo_epi8(b, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + py * 8), _mm_unpacklo_epi16(rg, b0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + py * 8 + 4), _mm_unpackhi_epi16(rg, b0));
    }
}

#else

void chromaTerms(const int16_t* cr, const int16_t* cb, ChromaTerms& terms) { chromaTermsScalar(cr, cb, terms); }

void convertBlock(const int16_t* y, const ChromaTerms& terms, int quarter, const int32_t* luma4096, uint32_t* out) {
    convertBlockScalar(y, terms, quarter, luma4096, out);
}

#endif

}  // namespace reelcast
