#include "core/bit_reader.h"

namespace reelcast {

// pos_ never passes size_.
uint16_t BitReader::nextWord()
{
    const size_t left = size_ - pos_;
    if (left >= 2) {
        const uint16_t w = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return w;
    }
    if (left == 1) { // odd length: the missing high byte reads as zero
        pos_ = size_;
        return data_[size_ - 1];
    }
    return 0;
}

BitReader BitReader::refilledNearEnd(BitReader r)
{
    while (r.count_ <= 48) {
        r.cache_ |= uint64_t(r.nextWord()) << (48 - r.count_);
        r.count_ += 16;
    }
    return r;
}

} // namespace reelcast
