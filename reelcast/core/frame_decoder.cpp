#include "core/frame_decoder.h"

#include <algorithm>
#include <cstring>

#include "core/block_transform.h"
#include "core/coefficient_code.h"
#include "core/colour_convert.h"
#include "core/mdec_tables.h"

namespace reelcast {
namespace {

uint16_t wordAt(const uint8_t* data, size_t size, size_t offset)
{
    uint16_t lo = offset < size ? data[offset] : 0;
    uint16_t hi = offset + 1 < size ? data[offset + 1] : 0;
    return uint16_t(lo | (hi << 8));
}

constexpr uint16_t kFrameMagic = 0x3800;

} // namespace

FrameHeader readFrameHeader(const uint8_t* data, size_t size)
{
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

void FrameDecoder::setGamma(const GammaTable& gamma)
{
    gamma_ = gamma;
    for (int i = 0; i < 256; ++i)
        gammaBytes_[i] = uint8_t(gamma_.entries[i]); // entries are 0 to 255
}

void FrameDecoder::beginFrame(const uint8_t* data, size_t size)
{
    header_ = readFrameHeader(data, size);
    if (header_.bitstreamOffset < size)
        bits_.reset(data + header_.bitstreamOffset, size - header_.bitstreamOffset);
    else
        bits_.reset(data, 0);
    predictorCr_ = predictorCb_ = predictorY_ = 0;
}

int FrameDecoder::decodeBlock(int16_t* block, int16_t& predictor, bool chrominance)
{
    if (header_.version > 3)
        return kDecodeBadVersion;
    std::memset(block, 0, 64 * sizeof(int16_t));
    return decodeCoefficients(block, predictor, chrominance);
}

// Writes position 0 and the positions it lists in stored_; the others keep what they held.
// The bit reader is copied into a local, so that its state stays in registers: the stores of the
// coefficients and positions cannot touch it.
int FrameDecoder::decodeCoefficients(int16_t* block, int16_t& predictor, bool chrominance)
{
    BitReader bits = bits_;
    uint8_t* positions = stored_;
    int count = 0;
    auto finish = [&](int status) {
        bits_ = bits;
        storedCount_ = count;
        return status;
    };

    if (header_.version == 3) {
        // The size codes form a complete prefix code of at most 10 bits, so a code always matches.
        const uint32_t top = bits.peekBits(10);
        const DcSize d = chrominance ? dcSizeChrominance(top) : dcSizeLuminance(top);
        bits.skipBits(d.length);
        int v = 0;
        if (d.size > 0) {
            v = int(bits.readBits(d.size));
            if ((v >> (d.size - 1)) == 0)
                v = v - (1 << d.size) + 1;
        }
        predictor = int16_t(predictor + 4 * v);
        block[0] = predictor;
    } else {
        block[0] = signed10(bits.readBits(10));
    }

    int p = 1;
    for (;;) {
        const uint32_t w = bits.peekBits(32); // every code, escape included, fits in 32 bits
        const uint32_t e = kShortCodeWords[w >> (32 - kShortCodeBits)];
        int run, level;
        if (e & 0xFF) [[likely]] {
            bits.skipBits(int(e & 0xFF));
            run = int((e >> 8) & 0xFF);
            if (run == int(kEndOfBlockRun))
                return finish(kDecodeOk);
            level = int16_t(e >> 16);
        } else {
            const CoefficientCode code = longCoefficientCode(w);
            bits.skipBits(code.length);
            if (code.kind != CoefficientCode::kPair)
                return finish(code.kind == CoefficientCode::kEndOfBlock ? kDecodeOk : kDecodeBadCode);
            run = code.run;
            level = code.level;
        }
        if (p <= 63) {
            p += run;
            if (p <= 63) {
                block[p] = int16_t(level);
                positions[count++] = uint8_t(p);
            }
            ++p;
        }
    }
}

int FrameDecoder::decodeMacroblock(BlockPixels (&pixels)[4])
{
    if (header_.version > 3)
        return kDecodeBadVersion;
    // Each block is transformed as soon as it is decoded; the pixels change only once all six are in.
    int16_t spatial[6][64];
    bool flat[6];
    for (int b = 0; b < 6; ++b) {
        int16_t& predictor = b == 0 ? predictorCr_ : (b == 1 ? predictorCb_ : predictorY_);
        if (int st = decodeCoefficients(coeffs_[b], predictor, b < 2))
            return st;
        flat[b] = storedCount_ == 0;
        if (flat[b]) { // two blocks in three on real movies
            std::fill(spatial[b], spatial[b] + 64, flatBlockValue(coeffs_[b][0]));
            continue;
        }
        int16_t natural[64];
        uint8_t colRows[8];
        dequantiseSparse(coeffs_[b], stored_, storedCount_, header_.quantScale, natural, colRows);
        idctSparse(natural, colRows, spatial[b]);
    }
    ChromaTerms terms;
    chromaTerms(spatial[0], spatial[1], terms);
    for (int q = 0; q < 4; ++q) {
        if (flat[0] && flat[1] && flat[2 + q]) { // one colour for the whole block
            const uint32_t p = convertPixel(spatial[2 + q][0], terms.r[0], terms.g[0], terms.b[0], gammaBytes_);
            std::fill(pixels[q], pixels[q] + 64, p);
        } else {
            convertBlock(spatial[2 + q], terms, q, gammaBytes_, pixels[q]);
        }
    }
    return kDecodeOk;
}

void FrameDecoder::placeMacroblock(uint32_t column, uint32_t row, const BlockPixels (&pixels)[4],
                                   PictureView picture) const
{
    if (!picture.pixels)
        return;
    const uint64_t left = uint64_t(column) * 16, top = uint64_t(row) * 16;
    if (left + 16 <= picture.width && top + 16 <= picture.height) { // the usual case: whole rows of 8
        for (int q = 0; q < 4; ++q) {
            uint32_t* dst = picture.pixels + (top + (q >> 1) * 8) * picture.width + left + (q & 1) * 8;
            for (int r = 0; r < 8; ++r, dst += picture.width)
                std::memcpy(dst, pixels[q] + r * 8, 8 * sizeof(uint32_t));
        }
        return;
    }
    for (int q = 0; q < 4; ++q) {
        const uint64_t x0 = uint64_t(column) * 16 + (q & 1) * 8;
        const uint64_t y0 = uint64_t(row) * 16 + (q >> 1) * 8;
        if (x0 >= picture.width)
            continue;
        const size_t n = size_t(std::min<uint64_t>(8, picture.width - x0));
        for (int r = 0; r < 8 && y0 + r < picture.height; ++r)
            std::memcpy(picture.pixels + (y0 + r) * picture.width + x0, pixels[q] + r * 8, n * sizeof(uint32_t));
    }
}

int FrameDecoder::decodeFrame(const uint8_t* data, size_t size, PictureView picture)
{
    beginFrame(data, size);
    if (!picture.pixels)
        return 0;
    const uint32_t columns = picture.width / 16, rows = picture.height / 16;
    int failed = 0;
    for (uint32_t c = 0; c < columns; ++c) {
        for (uint32_t r = 0; r < rows; ++r) {
            // An error leaves the previous pixels, placed all the same.
            failed += decodeMacroblock(pixels_) != kDecodeOk;
            placeMacroblock(c, r, pixels_, picture);
        }
    }
    return failed;
}

} // namespace reelcast
