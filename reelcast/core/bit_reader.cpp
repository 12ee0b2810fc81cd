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

void BitReader::refill()
{
    if (size_ - pos_ >= 8) { // the common case: as many whole words as the cache takes, no checks
        const uint8_t* d = data_ + pos_;
        for (; count_ <= 48; count_ += 16, d += 2)
            cache_ |= uint64_t(d[0] | (d[1] << 8)) << (48 - count_);
        pos_ = size_t(d - data_);
        return;
    }
    if (count_ <= 16 && size_ - pos_ >= 6) { // three words at once
        const uint8_t* d = data_ + pos_;
        const uint64_t w =
            uint64_t(d[0] | (d[1] << 8)) << 32 | uint64_t(d[2] | (d[3] << 8)) << 16 | uint64_t(d[4] | (d[5] << 8));
        cache_ |= w << (16 - count_);
        count_ += 48;
        pos_ += 6;
    }
    while (count_ <= 48) {
        cache_ |= uint64_t(nextWord()) << (48 - count_);
        count_ += 16;
    }
}

} // namespace reelcast
