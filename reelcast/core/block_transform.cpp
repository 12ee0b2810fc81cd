#include "core/block_transform.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "core/idct_avx2.h"
#include "core/mdec_tables.h"

namespace reelcast {
namespace {

// Sums of terms a * T stay inside 32 bits when the |a| add up to less than 2^31 / 16384.
constexpr int64_t kNarrowLimit = (int64_t(1) << 31) / 16384;

// out[x] = (sum over the set bits k of terms[k] * T[x][k]) / divisor, in 32 bits when that is exact.
template <int64_t Divisor, typename Out>
void combine(const int64_t (&terms)[8], uint32_t mask, Out* out, int stride)
{
    int64_t magnitude = 0;
    for (uint32_t m = mask; m; m &= m - 1)
        magnitude += std::abs(terms[std::countr_zero(m)]);
    if (magnitude < kNarrowLimit) {
        int32_t acc[8] = {};
        for (uint32_t m = mask; m; m &= m - 1) {
            const int k = std::countr_zero(m);
            const int32_t a = int32_t(terms[k]);
            for (int x = 0; x < 8; ++x)
                acc[x] += a * kCosineByInput[k][x];
        }
        for (int x = 0; x < 8; ++x)
            out[x * stride] = Out(acc[x] / int32_t(Divisor));
    } else {
        int64_t acc[8] = {};
        for (uint32_t m = mask; m; m &= m - 1) {
            const int k = std::countr_zero(m);
            for (int x = 0; x < 8; ++x)
                acc[x] += terms[k] * kCosineByInput[k][x];
        }
        for (int x = 0; x < 8; ++x)
            out[x * stride] = Out(acc[x] / Divisor);
    }
}

} // namespace

bool useAvx2Transform = avx2TransformAvailable();

// Both passes of a block holding only its DC value d give one value everywhere:
// (((d * N[0]) / 4096 * 16384) / 16384 * N[0]) / 4096 * 16384 / 262144.
int16_t flatBlockValue(int16_t dc)
{
    const int32_t a = dc * kNormalisation[0] / 4096;
    const int64_t b = int64_t(a) * kNormalisation[0] / 4096;
    return int16_t(b * 16384 / 262144);
}

void dequantiseSparse(const int16_t* src, const uint8_t* positions, int count, int scale, int16_t* dst,
                      uint8_t* colRows)
{
    std::memset(dst, 0, 64 * sizeof(int16_t));
    std::memset(colRows, 0, 8);
    dst[0] = src[0]; // Q[0] is 16 and the scale does not apply: src[0] * 16 / 16
    if (dst[0])
        colRows[0] = 1;
    for (int i = 0; i < count; ++i) {
        const int p = positions[i];
        const int z = kZigzag[p];
        const int16_t v = int16_t(int64_t(kQuantMatrix[z]) * src[p] * scale / 16);
        dst[z] = v;
        if (v)
            colRows[z & 7] |= uint8_t(1u << (z >> 3));
    }
}

void dequantise(const int16_t* src, int16_t* dst, int scale)
{
    uint8_t positions[63], colRows[8];
    int count = 0;
    for (int i = 1; i < 64; ++i)
        if (src[i])
            positions[count++] = uint8_t(i);
    dequantiseSparse(src, positions, count, scale, dst, colRows);
}

// Only the non-zero inputs take part (colRows[c] has bit k set when in[k][c] may be non-zero); a
// column or row holding only its first coefficient gives a constant. The skipped terms are zero, so
// the results are those of the full sums.
void idctSparse(const int16_t* in, const uint8_t* colRows, int16_t* out)
{
    uint32_t colMask = 0;
    for (int c = 0; c < 8; ++c)
        if (colRows[c])
            colMask |= 1u << c;
    if (colMask == 0) {
        std::memset(out, 0, 64 * sizeof(int16_t));
        return;
    }
    if (colMask == 1 && colRows[0] == 1) { // DC only: a flat block
        std::fill(out, out + 64, flatBlockValue(in[0]));
        return;
    }
    if (useAvx2Transform && idctNarrowAvx2(in, colRows, out))
        return;

    int32_t t[8][8]; // t[x][c]
    for (uint32_t m = colMask; m; m &= m - 1) {
        const int c = std::countr_zero(m);
        const uint32_t rows = colRows[c];
        if (rows == 1) {
            const int32_t a = in[c] * kNormalisation[0] / 4096; // (a * 16384) / 16384 == a
            for (int x = 0; x < 8; ++x)
                t[x][c] = a;
            continue;
        }
        int64_t terms[8];
        for (uint32_t r = rows; r; r &= r - 1) {
            const int k = std::countr_zero(r);
            terms[k] = in[k * 8 + c] * kNormalisation[k] / 4096;
        }
        combine<16384>(terms, rows, &t[0][c], 8);
    }

    for (int y = 0; y < 8; ++y) {
        int16_t* row = out + y * 8;
        if (colMask == 1) {
            const int64_t b = int64_t(t[y][0]) * kNormalisation[0] / 4096;
            const int16_t v = int16_t(b * 16384 / 262144);
            for (int x = 0; x < 8; ++x)
                row[x] = v;
            continue;
        }
        int64_t terms[8];
        for (uint32_t m = colMask; m; m &= m - 1) {
            const int j = std::countr_zero(m);
            terms[j] = int64_t(t[y][j]) * kNormalisation[j] / 4096;
        }
        combine<262144>(terms, colMask, row, 1);
    }
}

void idct(const int16_t* in, int16_t* out)
{
    uint8_t colRows[8] = {};
    for (int i = 0; i < 64; ++i)
        if (in[i])
            colRows[i & 7] |= uint8_t(1u << (i >> 3));
    idctSparse(in, colRows, out);
}

} // namespace reelcast
