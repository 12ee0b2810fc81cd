#include "core/colour_convert.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace reelcast {
namespace {

int32_t clampInt(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

} // namespace

void chromaTermsScalar(const int16_t* cr, const int16_t* cb, ChromaTerms& terms)
{
    for (int i = 0; i < 64; ++i) {
        const int32_t crv = clampInt(cr[i], -128, 127), cbv = clampInt(cb[i], -128, 127);
        terms.r[i] = int16_t((5743 * crv) >> 12);
        terms.g[i] = int16_t((-1408 * cbv - 2926 * crv) >> 12);
        terms.b[i] = int16_t((7258 * cbv) >> 12);
    }
}

void convertBlockScalar(const int16_t* y, const ChromaTerms& terms, int quarter, const uint8_t* gamma, uint32_t* out)
{
    const int cx0 = (quarter & 1) * 4, cy0 = (quarter >> 1) * 4;
    for (int py = 0; py < 8; ++py) {
        for (int px = 0; px < 8; ++px) {
            const int i = (cy0 + py / 2) * 8 + cx0 + px / 2;
            out[py * 8 + px] = convertPixel(y[py * 8 + px], terms.r[i], terms.g[i], terms.b[i], gamma);
        }
    }
}

#if defined(__SSE2__)

namespace {

__m128i load8(const int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Four offsets repeated for the two pixels each covers, added to g and clamped by the unsigned pack.
__m128i channel8(__m128i g, const int16_t* offsets)
{
    const __m128i o = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(offsets));
    const __m128i sum = _mm_add_epi16(g, _mm_unpacklo_epi16(o, o)); // within -184..433
    return _mm_packus_epi16(sum, sum);
}

} // namespace

void chromaTerms(const int16_t* cr, const int16_t* cb, ChromaTerms& terms)
{
    const __m128i lo = _mm_set1_epi16(-128), hi = _mm_set1_epi16(127);
    // Each pair (Cr, Cb) times a pair of factors, summed in 32 bits by one multiply-add.
    const __m128i rFactors = _mm_setr_epi16(5743, 0, 5743, 0, 5743, 0, 5743, 0);
    const __m128i gFactors = _mm_setr_epi16(-2926, -1408, -2926, -1408, -2926, -1408, -2926, -1408);
    const __m128i bFactors = _mm_setr_epi16(0, 7258, 0, 7258, 0, 7258, 0, 7258);
    auto offsets = [](__m128i pairsLo, __m128i pairsHi, __m128i factors) {
        return _mm_packs_epi32(_mm_srai_epi32(_mm_madd_epi16(pairsLo, factors), 12),
                               _mm_srai_epi32(_mm_madd_epi16(pairsHi, factors), 12));
    };
    for (int i = 0; i < 64; i += 8) {
        const __m128i crv = _mm_min_epi16(_mm_max_epi16(load8(cr + i), lo), hi);
        const __m128i cbv = _mm_min_epi16(_mm_max_epi16(load8(cb + i), lo), hi);
        const __m128i pairsLo = _mm_unpacklo_epi16(crv, cbv), pairsHi = _mm_unpackhi_epi16(crv, cbv);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(terms.r + i), offsets(pairsLo, pairsHi, rFactors));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(terms.g + i), offsets(pairsLo, pairsHi, gFactors));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(terms.b + i), offsets(pairsLo, pairsHi, bFactors));
    }
}

void convertBlock(const int16_t* y, const ChromaTerms& terms, int quarter, const uint8_t* gamma, uint32_t* out)
{
    const int base = (quarter >> 1) * 32 + (quarter & 1) * 4; // first chroma sample of the quarter
    const __m128i bias = _mm_set1_epi16(128);
    const __m128i zero = _mm_setzero_si128();
    for (int py = 0; py < 8; ++py) {
        // Y + 128 saturates in 16 bits, then the unsigned pack clamps it to 0..255.
        const __m128i yv = _mm_adds_epi16(load8(y + py * 8), bias);
        alignas(16) uint8_t level[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(level), _mm_packus_epi16(yv, yv));
        __m128i g = _mm_cvtsi32_si128(gamma[level[0]]);
        g = _mm_insert_epi16(g, gamma[level[1]], 1);
        g = _mm_insert_epi16(g, gamma[level[2]], 2);
        g = _mm_insert_epi16(g, gamma[level[3]], 3);
        g = _mm_insert_epi16(g, gamma[level[4]], 4);
        g = _mm_insert_epi16(g, gamma[level[5]], 5);
        g = _mm_insert_epi16(g, gamma[level[6]], 6);
        g = _mm_insert_epi16(g, gamma[level[7]], 7);
        const int row = base + (py / 2) * 8;
        const __m128i r = channel8(g, terms.r + row);
        const __m128i gr = channel8(g, terms.g + row);
        const __m128i b = channel8(g, terms.b + row);
        const __m128i rg = _mm_unpacklo_epi8(r, gr);
        const __m128i b0 = _mm_unpacklo_epi8(b, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + py * 8), _mm_unpacklo_epi16(rg, b0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + py * 8 + 4), _mm_unpackhi_epi16(rg, b0));
    }
}

#else

void chromaTerms(const int16_t* cr, const int16_t* cb, ChromaTerms& terms) { chromaTermsScalar(cr, cb, terms); }

void convertBlock(const int16_t* y, const ChromaTerms& terms, int quarter, const uint8_t* gamma, uint32_t* out)
{
    convertBlockScalar(y, terms, quarter, gamma, out);
}

#endif

} // namespace reelcast
