#pragma once
// Decoder of one movie frame: intra-coded 16x16 macroblocks of 8x8 DCT blocks (Cr, Cb, Y0..Y3) with
// MPEG-1 variable-length codes, integer dequantisation, an integer inverse transform and a fixed
// colour conversion. Every rounding is fixed, so the output is exact to the byte.

#include <cstddef>
#include <cstdint>

#include "core/bit_reader.h"
#include "core/block_transform.h"
#include "core/gamma_table.h"

namespace reelcast {

enum DecodeStatus : int {
    kDecodeOk = 0,
    kDecodeBadVersion = -1,
    kDecodeBadCode = -2,
};

// A picture of 32-bit pixels (R in bits 0-7, G 8-15, B 16-23), row-major, top row first.
struct PictureView {
    uint32_t* pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
};

struct FrameHeader {
    uint16_t quantScale = 0;
    uint16_t version = 0;
    size_t bitstreamOffset = 0;
};

// Reads the frame header, which stands at offset 0 or, in some files, at offset 40.
FrameHeader readFrameHeader(const uint8_t* data, size_t size);

class FrameDecoder {
public:
    using BlockPixels = uint32_t[64];

    FrameDecoder() { setGamma(GammaTable{}); }

    // The table is copied: a caller may rebuild its own while a frame decodes.
    void setGamma(const GammaTable& gamma);
    const GammaTable& gamma() const { return gamma_; }

    void beginFrame(const uint8_t* data, size_t size);
    // Decodes the next macroblock into Y0 (top left), Y1 (top right), Y2, Y3 (bottom); on an error
    // the four arrays keep their previous contents.
    int decodeMacroblock(BlockPixels (&pixels)[4]);
    void placeMacroblock(uint32_t column, uint32_t row, const BlockPixels (&pixels)[4], PictureView picture) const;
    // Decodes every whole macroblock (column by column); errors do not stop the frame. Returns the
    // number of macroblocks that failed (0 for a sound frame).
    int decodeFrame(const uint8_t* data, size_t size, PictureView picture);

    // One block in scan order; predictor is the DC predictor it shares.
    int decodeBlock(int16_t* block, int16_t& predictor, bool chrominance);

    const FrameHeader& header() const { return header_; }
    BitReader& bitReader() { return bits_; }

private:
    int decodeCoefficients(int16_t* block, int16_t& predictor, bool chrominance);

    GammaTable gamma_;
    uint8_t gammaBytes_[256];
    BitReader bits_;
    FrameHeader header_;
    int16_t predictorCr_ = 0, predictorCb_ = 0, predictorY_ = 0;
    int16_t coeffs_[6][64] = {};
    uint8_t stored_[63] = {}; // scan positions written for the last block, DC aside
    int storedCount_ = 0;
    BlockPixels pixels_[4] = {}; // decodeFrame's four arrays, kept from macroblock to macroblock
};

} // namespace reelcast
