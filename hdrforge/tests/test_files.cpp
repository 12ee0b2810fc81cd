#include "test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

Bytes gameImage(std::size_t size, const Bytes& header)
{
    Bytes game(size);
    for (std::size_t i = 0; i < size; ++i)
        game[i] = static_cast<std::uint8_t>(i * 7 + 3);
    for (std::size_t i = 0; i < header.size() && i < size; ++i)
        game[i] = header[i];
    return game;
}

Bytes headerBytes(std::uint8_t prg, std::uint8_t chr, std::uint8_t b6, std::uint8_t b7, std::uint8_t tail)
{
    Bytes h{'N', 'E', 'S', 0x1A, prg, chr, b6, b7};
    h.resize(16, tail);
    return h;
}
