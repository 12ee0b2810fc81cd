#include "core/frame_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "core/colour_convert.h"
#include "core/idct_avx2.h"
#include "core/mdec_tables.h"

namespace reelcast {
namespace {

uint16_t wordAt(const uint8_t* data, size_t size, size_t offset) {
    uint16_t lo = offset < size ? data[offset] : 0;
    uint16_t hi = offset + 1 < size ? data[offset + 1] : 0;
    return uint16_t(lo | (hi << 8));
}

int16_t signed10(uint32_t raw) { return int16_t(raw & 0x200 ? int(raw) - 1024 : int(raw)); }

constexpr uint16_t kFrameMagic = 0x3800;

}  // namespace

FrameHeader readFrameHeader(const uint8_t* data, size_t size) {
    FrameHeader h;
    h.quantScale = wordAt(data, size, 4);
    h.version = wordAt(data, size, 6);
    if (wordAt(data, size, 2) == kFrameMagic) {
        h.bitstreamOffset = 8;
    } else if (wordAt(data, size, 42) == kFrameMagic) {
        h.quantScale = wordAt(data, size, 44);
        h.version = wordAt(data, size, 46);
        h.bitstreamOffset = 48;
    } else {
        h.bitstreamOffset = 44;
    }
    return h;
}

namespace {

// kCosine transposed, so that the eight outputs of one input are consecutive.
constexpr auto kCosineByInput = [] {
    std::array<std::array<int32_t, 8>, 8> t{};
    for (int x = 0; x < 8; ++x)
        for (int k = 0; k < 8; ++k) t[k][x] = kCosine[x][k];
    return t;
}();

// Sums of terms a * T stay inside 32 bits when the |a| add up to less than 2^31 / 16384.
constexpr int64_t kNarrowLimit = (int64_t(1) << 31) / 16384;

// out[x] = (sum over the set bits k of terms[k] * T[x][k]) / divisor, in 32 bits when that is exact.
template <int64_t Divisor, typename Out>
void combine(const int64_t (&terms)[8], uint32_t mask, Out* out, int stride) {
    int64_t magnitude = 0;
    for (uint32_t m = mask; m; m &= m - 1) magnitude += std::abs(terms[std::countr_zero(m)]);
    if (magnitude < kNarrowLimit) {
        int32_t acc[8] = {};
        for (uint32_t m = mask; m; m &= m - 1) {
            const int k = std::countr_zero(m);
            const int32_t a = int32_t(terms[k]);
            for (int x = 0; x < 8; ++x) acc[x] += a * kCosineByInput[k][x];
        }
        for (int x = 0; x < 8; ++x) out[x * stride] = Out(acc[x] / int32_t(Divisor));
    } else {
        int64_t acc[8] = {};
        for (uint32_t m = mask; m; m &= m - 1) {
            const int k = std::countr_zero(m);
            for (int x = 0; x < 8; ++x) acc[x] += terms[k] * kCosineByInput[k][x];
        }
        for (int x = 0; x < 8; ++x) out[x * stride] = Out(acc[x] / Divisor);
    }
}

}  // namespace

bool useAvx2Transform = avx2TransformAvailable();

void dequantiseSparse(const int16_t* src, const uint8_t* positions, int count, int scale, int16_t* dst,
                      uint8_t* colRows) {
    std::memset(dst, 0, 64 * sizeof(int16_t));
    std::memset(colRows, 0, 8);
    dst[0] = src[0];  // Q[0] is 16 and the scale does not apply: src[0] * 16 / 16
    if (dst[0]) colRows[0] = 1;
    for (int i = 0; i < count; ++i) {
        const int p = positions[i];
        const int z = kZigzag[p];
        const int16_t v = int16_t(int64_t(kQuantMatrix[z]) * src[p] * scale / 16);
        dst[z] = v;
        if (v) colRows[z & 7] |= uint8_t(1u << (z >> 3));
    }
}

void dequantise(const int16_t* src, int16_t* dst, int scale) {
    uint8_t positions[63], colRows[8];
    int count = 0;
    for (int i = 1; i < 64; ++i)
        if (src[i]) positions[count++] = uint8_t(i);
    dequantiseSparse(src, positions, count, scale, dst, colRows);
}

// Only the non-zero inputs take part (colRows[c] has bit k set when in[k][c] may be non-zero); a
// column or row holding only its first coefficient gives a constant. The skipped terms are zero, so
// the results are those of the full sums.
void idctSparse(const int16_t* in, const uint8_t* colRows, int16_t* out) {
    uint32_t colMask = 0;
    for (int c = 0; c < 8; ++c)
        if (colRows[c]) colMask |= 1u << c;
    if (colMask == 0) {
        std::memset(out, 0, 64 * sizeof(int16_t));
        return;
    }
    if (colMask == 1 && colRows[0] == 1) {  // DC only: a flat block
        const int32_t a = in[0] * kNormalisation[0] / 4096;
        const int64_t b = int64_t(a) * kNormalisation[0] / 4096;
        const int16_t v = int16_t(b * 16384 / 262144);
        for (int i = 0; i < 64; ++i) out[i] = v;
        return;
    }
    if (useAvx2Transform && idctNarrowAvx2(in, colRows, out)) return;

    int32_t t[8][8];  // t[x][c]
    for (uint32_t m = colMask; m; m &= m - 1) {
        const int c = std::countr_zero(m);
        const uint32_t rows = colRows[c];
        if (rows == 1) {
            const int32_t a = in[c] * kNormalisation[0] / 4096;  // (a * 16384) / 16384 == a
            for (int x = 0; x < 8; ++x) t[x][c] = a;
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
            for (int x = 0; x < 8; ++x) row[x] = v;
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

void idct(const int16_t* in, int16_t* out) {
    uint8_t colRows[8] = {};
    for (int i = 0; i < 64; ++i)
        if (in[i]) colRows[i & 7] |= uint8_t(1u << (i >> 3));
    idctSparse(in, colRows, out);
}

void FrameDecoder::setGamma(const GammaTable& gamma) {
    gamma_ = gamma;
    for (int i = 0; i < 256; ++i) luma4096_[i] = gamma_.entries[i] * 4096;
}

void FrameDecoder::beginFrame(const uint8_t* data, size_t size) {
    header_ = readFrameHeader(data, size);
    if (header_.bitstreamOffset < size)
        bits_.reset(data + header_.bitstreamOffset, size - header_.bitstreamOffset);
    else
        bits_.reset(data, 0);
    predictorCr_ = predictorCb_ = predictorY_ = 0;
}

int FrameDecoder::decodeBlock(int16_t* block, int16_t& predictor, bool chrominance) {
    if (header_.version > 3) return kDecodeBadVersion;
    std::memset(block, 0, 64 * sizeof(int16_t));
    return decodeCoefficients(block, predictor, chrominance);
}

// Writes position 0 and the positions listed in stored_; the others are left as they were.
int FrameDecoder::decodeCoefficients(int16_t* block, int16_t& predictor, bool chrominance) {
    storedCount_ = 0;

    if (header_.version == 3) {
        // The size codes form a complete prefix code of at most 10 bits, so a code always matches.
        const uint32_t top = bits_.peekBits(10);
        const DcSize d = chrominance ? dcSizeChrominance(top) : dcSizeLuminance(top);
        bits_.skipBits(d.length);
        int v = 0;
        if (d.size > 0) {
            v = int(bits_.readBits(d.size));
            if ((v >> (d.size - 1)) == 0) v = v - (1 << d.size) + 1;
        }
        predictor = int16_t(predictor + 4 * v);
        block[0] = predictor;
    } else {
        block[0] = signed10(bits_.readBits(10));
    }

    int p = 1;
    for (;;) {
        const uint32_t w = bits_.peekBits(32);  // every code, escape included, fits in 32 bits
        const int z = std::countl_zero(w);
        if (z >= 12) {
            bits_.skipBits(std::min(z + 1, 14));
            return kDecodeBadCode;
        }
        const uint32_t rest = w << (z + 1);  // the bits after the first 1
        int run, level, length;
        RunLevel e{0, 0};
        bool fromTable = true;
        switch (z) {
        case 0:
            if ((rest >> 31) == 0) {  // 10: end of block
                bits_.skipBits(2);
                return kDecodeOk;
            }
            e = {0, int16_t((rest >> 30) & 1 ? -1 : 1)};
            length = 3;
            break;
        case 1:
            if (rest >> 31)
                e = {1, int16_t((rest >> 30) & 1 ? -1 : 1)}, length = 4;
            else
                e = kCoeffZ1[(rest >> 29) & 3], length = 5;
            break;
        case 2:
            if (rest >> 30)
                e = kCoeffZ2[rest >> 29], length = 6;
            else
                e = kCoeffZ2Long[(rest >> 26) & 15], length = 9;
            break;
        case 3: e = kCoeffZ3[rest >> 29], length = 7; break;
        case 4: e = kCoeffZ4[rest >> 29], length = 8; break;
        case 5:  // escape: 6-bit run, signed 10-bit level
            fromTable = false;
            run = int((rest >> 26) & 63);
            level = signed10((rest >> 16) & 1023);
            length = 22;
            break;
        case 6: e = kCoeffZ6[rest >> 28], length = 11; break;
        default: e = kCoeffLong[z - 7][rest >> 27], length = z + 6; break;
        }
        if (fromTable) run = e.run, level = e.level;
        bits_.skipBits(length);
        if (p <= 63) {
            p += run;
            if (p <= 63) {
                block[p] = int16_t(level);
                stored_[storedCount_++] = uint8_t(p);
            }
            ++p;
        }
    }
}

int FrameDecoder::decodeMacroblock(BlockPixels (&pixels)[4]) {
    if (header_.version > 3) return kDecodeBadVersion;
    // Each block is transformed as soon as it is decoded; the pixels change only once all six are in.
    int16_t spatial[6][64];
    for (int b = 0; b < 6; ++b) {
        int16_t& predictor = b == 0 ? predictorCr_ : (b == 1 ? predictorCb_ : predictorY_);
        if (int st = decodeCoefficients(coeffs_[b], predictor, b < 2)) return st;
        int16_t natural[64];
        uint8_t colRows[8];
        dequantiseSparse(coeffs_[b], stored_, storedCount_, header_.quantScale, natural, colRows);
        idctSparse(natural, colRows, spatial[b]);
    }
    ChromaTerms terms;
    chromaTerms(spatial[0], spatial[1], terms);
    for (int q = 0; q < 4; ++q) convertBlock(spatial[2 + q], terms, q, luma4096_, pixels[q]);
    return kDecodeOk;
}

void FrameDecoder::placeMacroblock(uint32_t column, uint32_t row, const BlockPixels (&pixels)[4],
                                   PictureView picture) const {
    for (int q = 0; q < 4; ++q) {
        const uint64_t x0 = uint64_t(column) * 16 + (q & 1) * 8;
        const uint64_t y0 = uint64_t(row) * 16 + (q >> 1) * 8;
        if (x0 >= picture.width) continue;
        const size_t n = size_t(std::min<uint64_t>(8, picture.width - x0));
        for (int r = 0; r < 8 && y0 + r < picture.height; ++r)
            std::memcpy(picture.pixels + (y0 + r) * picture.width + x0, pixels[q] + r * 8, n * sizeof(uint32_t));
    }
}

void FrameDecoder::decodeFrame(const uint8_t* data, size_t size, PictureView picture) {
    beginFrame(data, size);
    if (!picture.pixels) return;
    const uint32_t columns = picture.width / 16, rows = picture.height / 16;
    for (uint32_t c = 0; c < columns; ++c) {
        for (uint32_t r = 0; r < rows; ++r) {
            decodeMacroblock(pixels_);  // an error leaves the previous pixels, placed all the same
            placeMacroblock(c, r, pixels_, picture);
        }
    }
}

}  // namespace reelcast
