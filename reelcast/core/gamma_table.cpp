#include "core/gamma_table.h"

#include <cmath>

namespace reelcast {

void GammaTable::build(int gammaValue)
{
    value = gammaValue;
    // The exact double expressions matter: with value 100 some entries come out one below i.
    const double exponent = gammaValue * 0.01;
    for (int i = 0; i < 256; ++i) {
        const double v = std::pow(i * (1.0 / 255.0), exponent) * 255.0;
        entries[i] = v >= 255.0 ? 255 : (v > 0.0 ? int32_t(v) : 0); // bounded for values outside 0-200
    }
}

} // namespace reelcast
