#include "core/coefficient_code.h"

#include <algorithm>
#include <bit>

#include "core/mdec_tables.h"

namespace reelcast {

CoefficientCode readCoefficientCode(uint32_t w)
{
    const int z = std::countl_zero(w);
    if (z >= 12)
        return {0, 0, uint8_t(std::min(z + 1, 14)), CoefficientCode::kInvalid};
    const uint32_t rest = w << (z + 1); // the bits after the first 1
    auto pair = [](RunLevel e, int length) { return CoefficientCode{e.level, e.run, uint8_t(length)}; };
    auto sign = [&](int shift) { return int16_t((rest >> shift) & 1 ? -1 : 1); };
    switch (z) {
    case 0:
        if ((rest >> 31) == 0)
            return {0, 0, 2, CoefficientCode::kEndOfBlock}; // 10
        return pair({0, sign(30)}, 3);
    case 1: return rest >> 31 ? pair({1, sign(30)}, 4) : pair(kCoeffZ1[(rest >> 29) & 3], 5);
    case 2: return rest >> 30 ? pair(kCoeffZ2[rest >> 29], 6) : pair(kCoeffZ2Long[(rest >> 26) & 15], 9);
    case 3: return pair(kCoeffZ3[rest >> 29], 7);
    case 4: return pair(kCoeffZ4[rest >> 29], 8);
    case 5: // escape: 6-bit run, signed 10-bit level
        return pair({uint8_t((rest >> 26) & 63), signed10((rest >> 16) & 1023)}, 22);
    case 6: return pair(kCoeffZ6[rest >> 28], 11);
    default: return pair(kCoeffLong[z - 7][rest >> 27], z + 6);
    }
}

const std::array<uint32_t, 1 << kShortCodeBits> kShortCodeWords = [] {
    std::array<uint32_t, 1 << kShortCodeBits> table{};
    for (uint32_t i = 0; i < table.size(); ++i) {
        const CoefficientCode code = readCoefficientCode(i << (32 - kShortCodeBits));
        if (code.kind == CoefficientCode::kInvalid || code.length > kShortCodeBits)
            continue;
        const uint32_t run = code.kind == CoefficientCode::kEndOfBlock ? kEndOfBlockRun : code.run;
        table[i] = code.length | run << 8 | uint32_t(uint16_t(code.level)) << 16;
    }
    return table;
}();

} // namespace reelcast
