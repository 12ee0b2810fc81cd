#pragma once
// Bit reader over the picture bitstream: little-endian 16-bit words, each read most significant bit
// first. It never reads outside the data it was given; past the end it reads zeros.

#include <cstddef>
#include <cstdint>

namespace reelcast {

class BitReader {
public:
    void reset(const uint8_t* data, size_t size)
    {
        data_ = data;
        size_ = size;
        pos_ = 0;
        cache_ = 0;
        count_ = 0;
        consumed_ = 0;
    }

    // The next n bits (1 to 32), most significant first, without consuming them.
    uint32_t peekBits(int n)
    {
        if (count_ < n)
            refill();
        return uint32_t(cache_ >> (64 - n));
    }
    // Consumes n bits (0 to 32); only after a peek of at least n bits.
    void skipBits(int n)
    {
        cache_ <<= n;
        count_ -= n;
        consumed_ += size_t(n);
    }
    uint32_t readBits(int n)
    {
        uint32_t v = peekBits(n);
        skipBits(n);
        return v;
    }
    uint32_t readBit() { return readBits(1); }

    size_t bitsConsumed() const { return consumed_; }

private:
    // Tops the cache up to at least 49 bits. Inline, with the rare end of the data out of line and
    // the reader passed by value, so that a reader copied into a local stays in registers.
    void refill()
    {
        if (size_ - pos_ >= 8) [[likely]] { // as many whole words as the cache takes, no checks
            const uint8_t* d = data_ + pos_;
            for (; count_ <= 48; count_ += 16, d += 2)
                cache_ |= uint64_t(d[0] | (d[1] << 8)) << (48 - count_);
            pos_ = size_t(d - data_);
        } else {
            *this = refilledNearEnd(*this);
        }
    }
    static BitReader refilledNearEnd(BitReader r);
    uint16_t nextWord();

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    uint64_t cache_ = 0; // unread bits, left-aligned
    int count_ = 0;      // number of valid bits in cache_
    size_t consumed_ = 0;
};

} // namespace reelcast
