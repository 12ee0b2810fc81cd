#include "testrom/plane_graphics.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vortastr::testrom {

std::vector<uint8_t> encodeTiles(const PenImage& image, const PlaneLayout& layout)
{
    if (layout.width <= 0 || layout.height <= 0 || layout.columnBits.size() != std::size_t(layout.width) ||
        layout.rowBits.size() != std::size_t(layout.height) || layout.planeBits.empty() ||
        layout.planeBits.size() > 8 || layout.tileBits == 0)
        throw std::invalid_argument("plane layout tables do not match its tile size");
    if (image.width <= 0 || image.height <= 0 || image.width % layout.width != 0 || image.height % layout.height != 0 ||
        image.pens.size() != std::size_t(image.width) * std::size_t(image.height))
        throw std::invalid_argument("the image is not made of whole tiles");

    const int across = image.width / layout.width;
    const std::size_t tiles = std::size_t(across) * std::size_t(image.height / layout.height);
    const unsigned penLimit = 1u << layout.planeBits.size();
    // Planes may sit in separate regions (another chip's half): the output reaches the last bit used.
    uint64_t reach = 0;
    for (uint32_t p : layout.planeBits)
        for (uint32_t c : layout.columnBits)
            for (uint32_t r : layout.rowBits)
                reach = std::max<uint64_t>(reach, uint64_t(p) + c + r + 1);
    const uint64_t bits =
        std::max<uint64_t>(tiles * uint64_t(layout.tileBits), (tiles - 1) * uint64_t(layout.tileBits) + reach);
    std::vector<uint8_t> out(std::size_t((bits + 7) / 8), 0);
    for (std::size_t tile = 0; tile < tiles; ++tile) {
        const int left = int(tile % std::size_t(across)) * layout.width;
        const int top = int(tile / std::size_t(across)) * layout.height;
        const uint64_t base = uint64_t(tile) * layout.tileBits;
        for (int y = 0; y < layout.height; ++y)
            for (int x = 0; x < layout.width; ++x) {
                const unsigned pen = image.pen(left + x, top + y);
                if (pen >= penLimit)
                    throw std::invalid_argument("pen " + std::to_string(pen) + " needs more planes");
                for (std::size_t plane = 0; plane < layout.planeBits.size(); ++plane) {
                    if (((pen >> plane) & 1) == 0)
                        continue;
                    const uint64_t bit = base + layout.planeBits[plane] + layout.columnBits[std::size_t(x)] +
                                         layout.rowBits[std::size_t(y)];
                    out[std::size_t(bit / 8)] |= uint8_t(0x80u >> (bit % 8));
                }
            }
    }
    return out;
}

std::vector<uint32_t> bitSteps(uint32_t start, uint32_t step, int count)
{
    std::vector<uint32_t> steps;
    for (int i = 0; i < count; ++i)
        steps.push_back(start + uint32_t(i) * step);
    return steps;
}

} // namespace vortastr::testrom
