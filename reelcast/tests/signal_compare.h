#pragma once
// Pearson correlation of two runs of 16-bit samples (the first n of each).

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace reelcast::test {

inline double correlation(const int16_t* a, const int16_t* b, size_t n)
{
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (size_t i = 0; i < n; ++i) {
        sa += a[i];
        sb += b[i];
        saa += double(a[i]) * a[i];
        sbb += double(b[i]) * b[i];
        sab += double(a[i]) * b[i];
    }
    const double cov = sab - sa * sb / double(n), va = saa - sa * sa / double(n), vb = sbb - sb * sb / double(n);
    return cov / std::sqrt(va * vb);
}

} // namespace reelcast::test
