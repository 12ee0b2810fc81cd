#pragma once
// Writes a picture bitstream the way the decoder reads it: bits most significant first, packed into
// little-endian 16-bit words.

#include <cstdint>
#include <string_view>
#include <vector>

namespace reelcast::test {

class BitWriter {
public:
    // Appends a string of '0' and '1' (spaces ignored).
    BitWriter& bits(std::string_view text)
    {
        for (char c : text)
            if (c == '0' || c == '1')
                bit(c == '1');
        return *this;
    }
    BitWriter& value(uint32_t v, int n)
    {
        for (int i = n - 1; i >= 0; --i)
            bit((v >> i) & 1);
        return *this;
    }
    BitWriter& bit(bool b)
    {
        if (count_ % 16 == 0)
            words_.push_back(0);
        if (b)
            words_.back() |= uint16_t(1u << (15 - count_ % 16));
        ++count_;
        return *this;
    }
    // The frame: 8-byte header (0x3800 magic, scale, version), then the words.
    std::vector<uint8_t> frame(uint16_t scale, uint16_t version) const
    {
        std::vector<uint8_t> out = {
            0, 0, 0x00, 0x38, uint8_t(scale), uint8_t(scale >> 8), uint8_t(version), uint8_t(version >> 8)};
        const std::vector<uint8_t> s = stream();
        out.insert(out.end(), s.begin(), s.end());
        return out;
    }
    std::vector<uint8_t> stream() const
    {
        std::vector<uint8_t> out;
        for (uint16_t w : words_) {
            out.push_back(uint8_t(w));
            out.push_back(uint8_t(w >> 8));
        }
        return out;
    }
    size_t size() const { return count_; }

private:
    std::vector<uint16_t> words_;
    size_t count_ = 0;
};

} // namespace reelcast::test
