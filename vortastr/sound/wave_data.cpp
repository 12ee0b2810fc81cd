#include "sound/wave_data.h"

#include <algorithm>
#include <cstring>

namespace vortastr {

std::optional<std::span<const uint8_t>> waveSampleBytes(std::span<const uint8_t> file)
{
    if (file.size() < 4 || std::memcmp(file.data(), "RIFF", 4) != 0)
        return std::nullopt;
    static constexpr uint8_t kData[] = {'d', 'a', 't', 'a'};
    const auto found = std::search(file.begin(), file.end(), std::begin(kData), std::end(kData));
    if (found == file.end())
        return std::nullopt;
    const std::size_t lengthAt = std::size_t(found - file.begin()) + 4;
    if (file.size() - lengthAt < 4) // the length itself is cut off: nothing to read safely
        return std::nullopt;
    const uint8_t* p = file.data() + lengthAt;
    const uint32_t length = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    const std::size_t start = lengthAt + 4;
    const std::size_t present = std::min<std::size_t>(length, file.size() - start);
    return file.subspan(start, present);
}

} // namespace vortastr
