#pragma once
// Little-endian byte records for saved states: a writer that appends and a reader that never
// reads past its bytes (a short record sets `ok` false and yields zeros).
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace vortastr {

class StateWriter {
public:
    template <typename T>
    requires std::is_integral_v<T> StateWriter& operator<<(T value)
    {
        using U = std::make_unsigned_t<T>;
        const U bits = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bytes_.push_back(static_cast<uint8_t>(bits >> (8 * i)));
        return *this;
    }
    StateWriter& operator<<(bool value) { return *this << uint8_t(value ? 1 : 0); }
    template <typename T, std::size_t N>
    StateWriter& operator<<(const std::array<T, N>& values)
    {
        for (const T& v : values)
            *this << v;
        return *this;
    }
    void append(std::span<const uint8_t> bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

class StateReader {
public:
    explicit StateReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    template <typename T>
    requires std::is_integral_v<T> StateReader& operator>>(T& value)
    {
        using U = std::make_unsigned_t<T>;
        U bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits = static_cast<U>(bits | static_cast<U>(U(take()) << (8 * i)));
        value = static_cast<T>(bits);
        return *this;
    }
    StateReader& operator>>(bool& value)
    {
        value = take() != 0;
        return *this;
    }
    template <typename T, std::size_t N>
    StateReader& operator>>(std::array<T, N>& values)
    {
        for (T& v : values)
            *this >> v;
        return *this;
    }
    // The next `count` bytes; empty (and not ok) when fewer are left.
    std::span<const uint8_t> take(std::size_t count)
    {
        if (count > bytes_.size() - position_) {
            ok_ = false;
            position_ = bytes_.size();
            return {};
        }
        const auto part = bytes_.subspan(position_, count);
        position_ += count;
        return part;
    }
    bool ok() const { return ok_; }
    bool atEnd() const { return position_ == bytes_.size(); }

private:
    uint8_t take()
    {
        if (position_ >= bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return bytes_[position_++];
    }
    std::span<const uint8_t> bytes_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

} // namespace vortastr
