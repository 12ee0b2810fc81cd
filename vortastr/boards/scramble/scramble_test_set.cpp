#include "boards/scramble/scramble_test_set.h"

#include "boards/rom_sets.h"
#include "boards/scramble/scramble_graphics.h"
#include "testrom/rom_packing.h"

#include <stdexcept>

namespace vortastr::scramble {
namespace {

constexpr int kPlanes = 2;

// Colour PROM of the sets: black first, then colours that differ from their neighbours.
std::vector<uint8_t> colourProm()
{
    std::vector<uint8_t> bytes(32);
    for (std::size_t i = 1; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    return bytes;
}

void setPen(std::vector<std::vector<uint8_t>>& planes, RomBit at, uint8_t pen)
{
    for (int p = 0; p < kPlanes; ++p)
        if (pen >> p & 1)
            planes[std::size_t(p)][at.byte] |= static_cast<uint8_t>(1 << at.bit);
}

// Plane p of the graphics in file p, laid out the way the board's decode reads it.
std::vector<std::vector<uint8_t>> graphicsPlanes()
{
    std::vector<std::vector<uint8_t>> planes(kPlanes, std::vector<uint8_t>(kGraphicsRomBytes, 0));
    for (int t = 0; t < kDesignedTiles; ++t)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                setPen(planes, tileBit(t, x, y), testTilePen(t, x, y));
    for (int s = kFirstDesignedSprite; s < 64; ++s)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                setPen(planes, spriteBit(s, x, y), testSpritePen(s, x, y));
    return planes;
}

// The file name without its folder ("scramble\scramble.1k" -> "scramble.1k").
std::string baseName(const std::string& name)
{
    const std::size_t cut = name.find_last_of("\\/");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

} // namespace

uint8_t testTilePen(int tile, int x, int y) { return static_cast<uint8_t>((x + 2 * y + tile) & 3); }

uint8_t testSpritePen(int sprite, int x, int y)
{
    if (x == y || x == 15 - y)
        return 0; // transparent diagonals
    return static_cast<uint8_t>((x / 4 + y / 4 + sprite) % 3 + 1);
}

std::string testRomFolder(GameId game)
{
    switch (game) {
    case Scramble: return "scramble";
    case Tazmania: return "tazmania";
    default: return "superbnd";
    }
}

RomImages buildTestRomSet(GameId game, const std::vector<uint8_t>& program)
{
    RomImages files;
    std::vector<std::size_t> sizes;
    std::vector<std::string> names;
    for (const RomListLoad& load : programRoms(game).lists)
        for (const std::string& name : load.files) {
            sizes.push_back(load.fileSize);
            names.push_back(baseName(name));
        }
    const std::vector<testrom::Bytes> pieces = testrom::splitImage(program, sizes);
    for (std::size_t i = 0; i < pieces.size(); ++i)
        files[names[i]] = pieces[i];
    // Characters and sprites come from the same two files, plane 0 first.
    const auto planes = graphicsPlanes();
    const GraphicsSet set = characterSet(game);
    for (const DecodeStep& step : set.steps)
        for (std::size_t f = 0; f < step.files.size() && f < planes.size(); ++f)
            files[baseName(step.files[f])] = planes[f];
    if (game == Scramble)
        files["scramble.clr"] = colourProm();
    else if (game == Tazmania)
        files["colr6f.cpu"] = colourProm(); // SuperBond takes its colours from this folder too
    return files;
}

bool writeTestRomSets(const std::string& folder, const std::string& scrambleBinary, const std::string& tazmaniaBinary,
                      std::string& error)
{
    testrom::Bytes scramble, tazmania;
    if (!testrom::readBinary(scrambleBinary, scramble, error) || !testrom::readBinary(tazmaniaBinary, tazmania, error))
        return false;
    try {
        for (const auto& [game, program] :
             {std::pair{Scramble, &scramble}, std::pair{Tazmania, &tazmania}, std::pair{SuperBond, &tazmania}}) {
            const RomImages images = buildTestRomSet(game, *program);
            const testrom::RomFiles files(images.begin(), images.end());
            if (!testrom::writeRomFiles(folder, testRomFolder(game), files, error))
                return false;
        }
    } catch (const std::length_error& e) {
        error = std::string("the test program does not fit the program ROMs: ") + e.what();
        return false;
    }
    return true;
}

} // namespace vortastr::scramble
