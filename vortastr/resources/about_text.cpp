#include "resources/about_text.h"

#include <array>
#include <cstdio>

namespace vortastr {
namespace {

// Complemented at compile time, so only the complemented bytes are in the program image.
template <std::size_t N>
constexpr std::array<unsigned char, N> complemented(const char (&text)[N])
{
    std::array<unsigned char, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = static_cast<unsigned char>(~static_cast<unsigned char>(text[i]));
    return out;
}

constexpr auto kProductLine = complemented("Vorta Strike Emulator - multi-game arcade emulator");
constexpr auto kVersionLine = complemented("Version ");

} // namespace

std::string decodeComplementedLine(std::span<const unsigned char> stored)
{
    std::string line;
    for (unsigned char byte : stored) {
        const auto c = static_cast<unsigned char>(~byte);
        if (c == 0 || line.size() + 1 >= kAboutLineBuffer)
            break;
        line += static_cast<char>(c);
    }
    return line;
}

std::string versionString()
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d.%2d", kVersionMajor, kVersionMinor);
    return buffer;
}

AboutText aboutText()
{
    return {decodeComplementedLine(kProductLine), decodeComplementedLine(kVersionLine) + versionString()};
}

std::span<const unsigned char> storedProductLine() { return kProductLine; }
std::span<const unsigned char> storedVersionLine() { return kVersionLine; }

} // namespace vortastr
