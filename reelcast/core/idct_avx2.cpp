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

// kCosine by input: row k holds T[0..7][k].
alignas(32) constexpr int32_t kCosineByInput[8][8] = {
#define COLUMN(k) {kCosine[0][k], kCosine[1][k], kCosine[2][k], kCosine[3][k], \
                   kCosine[4][k], kCosine[5][k], kCosine[6][k], kCosine[7][k]}
    COLUMN(0), COLUMN(1), COLUMN(2), COLUMN(3), COLUMN(4), COLUMN(5), COLUMN(6), COLUMN(7),
#undef COLUMN
};

// Division by 2^shift truncating toward zero, as C++ integer division does.
template <int Shift>
__attribute__((target("avx2"))) inline __m256i divideTruncating(__m256i v) {
    const __m256i bias = _mm256_and_si256(_mm256_srai_epi32(v, 31), _mm256_set1_epi32((1 << Shift) - 1));
    return _mm256_srai_epi32(_mm256_add_epi32(v, bias), Shift);
}

__attribute__((target("avx2"))) inline __m256i cosineColumn(int k) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(kCosineByInput[k]));
}

}  // namespace

bool avx2TransformAvailable() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

__attribute__((target("avx2"))) bool idctNarrowAvx2(const int16_t* in, const uint8_t* colRows, int16_t* out) {
    // Columns: t[c][x] = (sum over k of (in[k][c] * N[k] / 4096) * T[x][k]) / 16384, x across the lanes.
    alignas(32) int32_t b[8][8];  // b[j][y] = t[y][j] * N[j] / 4096
    __m256i magnitude = _mm256_setzero_si256();
    uint32_t colMask = 0;
    for (int c = 0; c < 8; ++c) {
        if (!colRows[c]) continue;
        colMask |= 1u << c;
        __m256i acc = _mm256_setzero_si256();
        int32_t sum = 0;
        for (uint32_t r = colRows[c]; r; r &= r - 1) {
            const int k = __builtin_ctz(r);
            const int32_t a = in[k * 8 + c] * kNormalisation[k] / 4096;
            sum += a < 0 ? -a : a;
            acc = _mm256_add_epi32(acc, _mm256_mullo_epi32(_mm256_set1_epi32(a), cosineColumn(k)));
        }
        if (sum >= kNarrowLimit) return false;
        // |t| <= sum < 2^17, so t * N stays inside 32 bits.
        const __m256i t = divideTruncating<14>(acc);
        const __m256i bj = divideTruncating<12>(_mm256_mullo_epi32(t, _mm256_set1_epi32(kNormalisation[c])));
        _mm256_store_si256(reinterpret_cast<__m256i*>(b[c]), bj);
        magnitude = _mm256_add_epi32(magnitude, _mm256_abs_epi32(bj));
    }
    // Rows: every row's sum of |b| must stay below the limit too.
    if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(magnitude, _mm256_set1_epi32(kNarrowLimit - 1)))) return false;

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

}  // namespace reelcast
