#pragma once
// The RType II voice ROM image: where its voice samples start and how they are cut.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vortastr {

constexpr std::size_t kRtype2VoiceImageSize = 0x20000;
constexpr std::size_t kRtype2MaxVoices = 32;

struct VoiceCut {
    std::size_t start = 0;
    std::size_t length = 0; // 0 when the image holds a zero byte at the start
};

// The voice samples in table order: each runs from its start up to the first zero byte, or
// to the end of the image (and then it is the last). A start past the image ends the cutting.
std::vector<VoiceCut> cutVoiceSamples(std::span<const uint8_t> image);

} // namespace vortastr
