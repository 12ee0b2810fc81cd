#include "core/idct_avx2.h"

#include "core/mdec_tables.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define REELCAST_HAVE_AVX2_CODE 1
#include <immintrin.h>
#endif

namespace reelcast {

#if REELCAST_HAVE_AVX2_CODE

namespace {

// Sums of terms a * T stay inside 32 bits when the |a| add up to less than 2^31 / 16384.
constexpr int32_t kNarrowLimit = int32_t((int64_t(1) << 31) / 16384);

// Division by 2^shift truncating toward zero, as C++ integer division does.
template <int Shift>
__attribute__((target("avx2"))) inline __m256i divideTruncating(__m256i v)
{
    const __m256i bias = _mm256_and_si256(_mm256_srai_epi32(v, 31), _mm256_set1_epi32((1 << Shift) - 1));
    return _mm256_srai_epi32(_mm256_add_epi32(v, bias), Shift);
}

__attribute__((target("avx2"))) inline __m256i cosineColumn(int k)
{
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(kCosineByInput[k].data()));
}

} // namespace

bool avx2TransformAvailable()
{
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

__attribute__((target("avx2"))) bool idctNarrowAvx2(const int16_t* in, const uint8_t* colRows, int16_t* out)
{
    // a[k][c] = in[k][c] * N[k] / 4096 for the whole block, a row at a time; the sums of |a| down
    // each column bound the column pass.
    uint32_t colMask = 0, rowMask = 0;
    for (int c = 0; c < 8; ++c) {
        if (colRows[c])
            colMask |= 1u << c;
        rowMask |= colRows[c];
    }
    alignas(32) int32_t a[8][8];
    __m256i columnSums = _mm256_setzero_si256();
    for (uint32_t r = rowMask; r; r &= r - 1) {
        const int k = __builtin_ctz(r);
        const __m256i v = _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + k * 8)));
        const __m256i ak = divideTruncating<12>(_mm256_mullo_epi32(v, _mm256_set1_epi32(kNormalisation[k])));
        _mm256_store_si256(reinterpret_cast<__m256i*>(a[k]), ak);
        columnSums = _mm256_add_epi32(columnSums, _mm256_abs_epi32(ak));
    }
    if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(columnSums, _mm256_set1_epi32(kNarrowLimit - 1))))
        return false;

    // Columns: t[c][x] = (sum over k of a[k][c] * T[x][k]) / 16384, x across the lanes; then
    // b[j][y] = t[y][j] * N[j] / 4096, which stays inside 32 bits since |t| < 2^17.
    alignas(32) int32_t b[8][8];
    __m256i magnitude = _mm256_setzero_si256();
    for (uint32_t m = colMask; m; m &= m - 1) {
        const int c = __builtin_ctz(m);
        __m256i acc = _mm256_setzero_si256();
        for (uint32_t r = colRows[c]; r; r &= r - 1) {
            const int k = __builtin_ctz(r);
            acc = _mm256_add_epi32(acc, _mm256_mullo_epi32(_mm256_set1_epi32(a[k][c]), cosineColumn(k)));
        }
        const __m256i t = divideTruncating<14>(acc);
        const __m256i bj = divideTruncating<12>(_mm256_mullo_epi32(t, _mm256_set1_epi32(kNormalisation[c])));
        _mm256_store_si256(reinterpret_cast<__m256i*>(b[c]), bj);
        magnitude = _mm256_add_epi32(magnitude, _mm256_abs_epi32(bj));
    }
    // Rows: every row's sum of |b| must stay below the limit too.
    if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(magnitude, _mm256_set1_epi32(kNarrowLimit - 1))))
        return false;

    for (int y = 0; y < 8; ++y) {
        __m256i acc = _mm256_setzero_si256();
        for (uint32_t m = colMask; m; m &= m - 1) {
            const int j = __builtin_ctz(m);
            acc = _mm256_add_epi32(acc, _mm256_mullo_epi32(_mm256_set1_epi32(b[j][y]), cosineColumn(j)));
        }
        // |result| < 2^31 / 2^18, so the signed pack to 16 bits is exact.
        const __m256i v = divideTruncating<18>(acc);
        const __m128i packed = _mm_packs_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + y * 8), packed);
    }
    return true;
}

#else

bool avx2TransformAvailable() { return false; }
bool idctNarrowAvx2(const int16_t*, const uint8_t*, int16_t*) { return false; }

#endif

} // namespace reelcast
