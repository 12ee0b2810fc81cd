#include "video/colour_tables.h"

#include <bit>

namespace vortastr {

uint16_t reduceComponent(uint8_t component, uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    const uint32_t divisor = max >= 255 ? 1 : 255 / max;
    return static_cast<uint16_t>(((component / divisor) << shift) & mask);
}

uint16_t colour16Of(uint8_t red, uint8_t green, uint8_t blue, const PixelLayout& layout)
{
    return static_cast<uint16_t>(reduceComponent(red, layout.redMask) | reduceComponent(green, layout.greenMask) |
                                 reduceComponent(blue, layout.blueMask));
}

void setPaletteIndexMapping(ColourTables& tables)
{
    for (int i = 0; i < 256; ++i)
        tables.index8[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i == 0 ? 0 : i + kFirstGameEntry);
}

void setIdentityIndexMapping(ColourTables& tables)
{
    for (int i = 0; i < 256; ++i)
        tables.index8[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
}

void rebuildColour16(ColourTables& tables, int bank, const PixelLayout& layout)
{
    auto& out = tables.colour16[static_cast<std::size_t>(bank & 1)];
    const auto& in = tables.rgb[static_cast<std::size_t>(bank & 1)];
    for (std::size_t i = 0; i < 256; ++i)
        out[i] = colour16Of(in[i].red, in[i].green, in[i].blue, layout);
    out[0] = 0;
}

void uploadGameEntries(const ColourTables& tables, std::array<uint32_t, 256>& palette)
{
    for (int i = 0; i < kGameEntryCount; ++i) {
        const RgbEntry& e = tables.rgb[0][static_cast<std::size_t>(i)];
        palette[static_cast<std::size_t>(kFirstGameEntry + i)] =
            0xFF000000u | (uint32_t(e.red) << 16) | (uint32_t(e.green) << 8) | e.blue;
    }
}

} // namespace vortastr
