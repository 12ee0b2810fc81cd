#pragma once
// Temporary names of the Irem game ids until the shared id header lands.
#include <cstdint>

namespace vortastr {
constexpr int32_t RTypeJapanese = 27;
constexpr int32_t RType = 28;
constexpr int32_t RType2 = 29;
constexpr int32_t RTypeLeo = 30;
constexpr int32_t MasterT = 31;
constexpr int32_t InTheHunt = 33;
constexpr int32_t HeroTonma = 35;
constexpr int32_t DragonBreed = 36;
constexpr int32_t Kengo = 37;
constexpr int32_t UnderCps = 38;
} // namespace vortastr
