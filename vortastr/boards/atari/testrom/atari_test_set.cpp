#include "boards/atari/testrom/atari_test_set.h"

#ifndef ATARI_TESTROM_BINARIES
#error "ATARI_TESTROM_BINARIES names the folder of the assembled test programs"
#endif

namespace vortastr::atari::testset {
namespace {

using testrom::Bytes;
constexpr std::size_t kCastlesChip = 8192;
constexpr std::size_t kTunnelChip = 2048;
constexpr std::size_t kSpriteBytes = 32; // per sprite and file

bool readProgram(const std::string& folder, const char* name, std::size_t size, Bytes& image, std::string& error)
{
    if (!testrom::readBinary(folder + "/" + name, image, error))
        return false;
    if (image.size() != size) {
        error = std::string(name) + " has " + std::to_string(image.size()) + " bytes, not " + std::to_string(size);
        return false;
    }
    return true;
}

// Sprite 1 solid in pen 13: the first file gives the pens' bit 0, the second bits 2 and 3.
void drawSprite(Bytes& first, Bytes& second, int code)
{
    for (std::size_t i = 0; i < kSpriteBytes; ++i) {
        first[std::size_t(code) * kSpriteBytes + i] = 0x0F;
        second[std::size_t(code) * kSpriteBytes + i] = 0xFF;
    }
}

} // namespace

testrom::RomFiles buildCrystalCastlesSet(const std::string& binaryFolder, std::string& error)
{
    Bytes image;
    if (!readProgram(binaryFolder, "crystal_castles_test.bin", 3 * kCastlesChip, image, error))
        return {};
    const std::vector<Bytes> chips = testrom::splitImage(image, {kCastlesChip, kCastlesChip, kCastlesChip});
    Bytes bankOne(kCastlesChip, 0xFF), bankOneHigh(kCastlesChip, 0xFF);
    bankOne[0] = kBankOneMarker;
    Bytes spritesA(kCastlesChip, 0), spritesB(kCastlesChip, 0);
    drawSprite(spritesA, spritesB, kSpriteCode);
    return {{"136022.303", chips[0]},    {"136022.304", chips[1]}, {"136022.305", chips[2]}, {"136022.102", bankOne},
            {"136022.101", bankOneHigh}, {"136022.107", spritesA}, {"136022.106", spritesB}};
}

testrom::RomFiles buildTunnelHuntSet(const std::string& binaryFolder, std::string& error)
{
    Bytes image;
    if (!readProgram(binaryFolder, "tunnel_hunt_test.bin", 6 * kTunnelChip, image, error))
        return {};
    const std::vector<Bytes> chips = testrom::splitImage(image, std::vector<std::size_t>(6, kTunnelChip));
    const char* names[] = {"136000.LM1", "136000.K1", "136000.J1", "136000.FH1", "136000.EF1", "136000.D1"};
    testrom::RomFiles files;
    for (std::size_t i = 0; i < chips.size(); ++i)
        files[names[i]] = chips[i];
    return files;
}

testrom::RomFiles tunnelHuntCharacterFiles() { return {{"g12.bin", Bytes(4096, 0)}, {"h12.bin", Bytes(4096, 0)}}; }

bool writeCrystalCastlesTestSet(const std::string& folder, std::string& error)
{
    const testrom::RomFiles files = buildCrystalCastlesSet(ATARI_TESTROM_BINARIES, error);
    return !files.empty() && testrom::writeRomFiles(folder, "crystalc", files, error);
}

bool writeTunnelHuntTestSet(const std::string& folder, std::string& error)
{
    const testrom::RomFiles files = buildTunnelHuntSet(ATARI_TESTROM_BINARIES, error);
    return !files.empty() && testrom::writeRomFiles(folder, "tunnel", files, error) &&
           testrom::writeRomFiles(folder, "eggs", tunnelHuntCharacterFiles(), error);
}

} // namespace vortastr::atari::testset
