#include "sound/rtype2_voices.h"

#include <algorithm>

namespace vortastr {
namespace {

struct VoiceStart {
    uint16_t low, high;
};

// Start of each voice in units of 32 bytes, low + 256 x high; the last entry lies past the
// image and ends the cutting.
constexpr VoiceStart kVoiceStarts[] = {
    {0x0000, 0x0000}, {0x0001, 0x0000}, {0x00AD, 0x0001}, {0x001F, 0x0002}, {0x0000, 0x0003}, {0x00FF, 0x0003},
    {0x00F0, 0x0006}, {0x0090, 0x0008}, {0x00EB, 0x0009}, {0x00B8, 0x000A}, {0x0038, 0x000B}, {0x0000, 0x000C},
    {0x00EB, 0x000D}, {0x004B, 0x000B}, {0x005E, 0x000B}, {0x0071, 0x000B}, {0x0084, 0x000B}, {0x0097, 0x000B},
    {0x00AA, 0x000B}, {0x00BD, 0x000B}, {0x00D0, 0x000B}, {0x00E3, 0x000B}, {0x00F6, 0x000B}, {0x0009, 0x000C},
    {0x001C, 0x000C}, {0x002F, 0x000C}, {0x0042, 0x000C}, {0x0055, 0x000C}, {0x0068, 0x000C}, {0x0003, 0x00BC},
};

} // namespace

std::vector<VoiceCut> cutVoiceSamples(std::span<const uint8_t> image)
{
    std::vector<VoiceCut> cuts;
    const std::size_t end = std::min(image.size(), kRtype2VoiceImageSize);
    for (const VoiceStart& entry : kVoiceStarts) {
        if (cuts.size() >= kRtype2MaxVoices)
            break;
        const std::size_t start = (std::size_t(entry.low) + 256 * std::size_t(entry.high)) * 32;
        if (start >= end)
            break;
        const auto zero = std::find(image.begin() + std::ptrdiff_t(start), image.begin() + std::ptrdiff_t(end), 0);
        const std::size_t stop = std::size_t(zero - image.begin());
        cuts.push_back({start, stop - start});
        if (stop == end)
            break;
    }
    return cuts;
}

} // namespace vortastr
