#pragma once
// The two lines of the About box. They are kept in the program with every byte complemented
// and turned back into text when the box opens.
#include <span>
#include <string>

namespace vortastr {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 22;
constexpr std::size_t kAboutLineBuffer = 128;

// Complements bytes until one complements to zero; never more than the buffer holds.
std::string decodeComplementedLine(std::span<const unsigned char> stored);

struct AboutText {
    std::string product; // static text 1002
    std::string version; // static text 1001: the second line and "%d.%2d" of the version
};
AboutText aboutText();

// "%d.%2d" of the version, as the About box shows it.
std::string versionString();

// The stored (complemented) lines, for inspection.
std::span<const unsigned char> storedProductLine();
std::span<const unsigned char> storedVersionLine();

} // namespace vortastr
