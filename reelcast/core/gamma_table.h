#pragma once
// Luminance gamma correction table: entry i = trunc(pow(i / 255, value / 100) * 255).

#include <cstdint>

namespace reelcast {

struct GammaTable {
    static constexpr int kDefaultValue = 100;
    static constexpr int kMinValue = 0;
    static constexpr int kMaxValue = 200;

    int value = kDefaultValue;
    int32_t entries[256] = {};

    GammaTable() { build(kDefaultValue); }
    void build(int gammaValue);
    int32_t operator[](int i) const { return entries[i]; }
};

} // namespace reelcast
