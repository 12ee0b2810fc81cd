#include "boards/irem/irem_test_set.h"

#include "testrom/plane_graphics.h"

#include <algorithm>
#include <stdexcept>

namespace vortastr::irem::testset {
namespace {

using testrom::Bytes;
using testrom::RomFiles;

// Four planes, one per file: byte r of tile t in each file is row r, most significant bit the
// left pixel; file k holds the plane of weight 2^k.
testrom::PlaneLayout tileLayout(uint32_t fileSize)
{
    testrom::PlaneLayout layout;
    layout.width = layout.height = 8;
    layout.planeBits = testrom::bitSteps(0, fileSize * 8, 4);
    layout.columnBits = testrom::bitSteps(0, 1, 8);
    layout.rowBits = testrom::bitSteps(0, 8, 8);
    layout.tileBits = 64;
    return layout;
}

// Sprites: 32 bytes a sprite in each file, the left half's 16 rows, then the right half's.
testrom::PlaneLayout spriteLayout(uint32_t fileSize)
{
    testrom::PlaneLayout layout;
    layout.width = layout.height = 16;
    layout.planeBits = testrom::bitSteps(0, fileSize * 8, 4);
    layout.columnBits = testrom::bitSteps(0, 1, 8);
    for (uint32_t bit : testrom::bitSteps(128, 1, 8))
        layout.columnBits.push_back(bit);
    layout.rowBits = testrom::bitSteps(0, 8, 16);
    layout.tileBits = 256;
    return layout;
}

// `count` graphics of size x size pens stacked in one column, cut into four plane files.
std::vector<Bytes> encodePlanes(int count, int size, uint32_t fileSize, const testrom::PlaneLayout& layout,
                                uint8_t (*pen)(int, int, int, int), int image)
{
    testrom::PenImage pens;
    pens.width = size;
    pens.height = size * count;
    pens.pens.resize(std::size_t(pens.width) * std::size_t(pens.height));
    for (int g = 0; g < count; ++g)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                pens.pens[std::size_t(g * size + y) * std::size_t(size) + std::size_t(x)] = pen(image, g, x, y);
    Bytes planes = testrom::encodeTiles(pens, layout);
    planes.resize(4u * fileSize, 0);
    return testrom::splitImage(planes, {fileSize, fileSize, fileSize, fileSize}, 0);
}

uint8_t spritePenOfImage(int image, int sprite, int x, int y) { return spritePen(image * 2048 + sprite, x, y); }

// The four files of one decode, named in the loader's order.
void addImage(RomFiles& files, const std::vector<std::string>& names, std::vector<Bytes> planes)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        files[names[i]] = std::move(planes[i]);
}

void addTiles(RomFiles& files, const std::vector<std::string>& names, uint32_t fileSize, int image)
{
    addImage(files, names, encodePlanes(int(fileSize / 8), 8, fileSize, tileLayout(fileSize), tilePen, image));
}

void addSprites(RomFiles& files, const std::vector<std::string>& names, uint32_t fileSize, int image)
{
    addImage(files, names,
             encodePlanes(int(fileSize / 32), 16, fileSize, spriteLayout(fileSize), spritePenOfImage, image));
}

// The program as even/odd pairs of `fileSize` bytes each, in load order.
void addProgram(RomFiles& files, const Bytes& program, const std::vector<std::pair<std::string, std::string>>& pairs,
                uint32_t fileSize)
{
    const std::size_t pairBytes = 2u * fileSize;
    if (program.size() != pairs.size() * pairBytes)
        throw std::length_error("the program image is not " + std::to_string(pairs.size() * pairBytes) + " bytes");
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const Bytes part(program.begin() + std::ptrdiff_t(p * pairBytes),
                         program.begin() + std::ptrdiff_t((p + 1) * pairBytes));
        std::vector<Bytes> chips = testrom::interleaveImage(part, 2, 1, fileSize);
        files[pairs[p].first] = std::move(chips[0]);
        files[pairs[p].second] = std::move(chips[1]);
    }
}

} // namespace

uint8_t tilePen(int image, int tile, int x, int y)
{
    if (image == 0 && tile == 0)
        return 0;
    return static_cast<uint8_t>((x + 2 * y + tile + 5 * image) & 15);
}

uint8_t spritePen(int sprite, int x, int y)
{
    if (x < 2 || y < 2)
        return 0;
    return static_cast<uint8_t>((sprite + x + 3 * y) % 15 + 1);
}

std::vector<ScoreEntry> defaultScoreEntries(bool rtype2)
{
    std::vector<ScoreEntry> entries = {{0x00060000, 8, "MAJOR "}, {0x00050000, 7, "CAPTN "}, {0x00040000, 6, "LIEUT "},
                                       {0x00035000, 5, "ENSGN "}, {0x00030000, 5, "SERGT "}, {0x00025000, 4, "CORPL "},
                                       {0x00020000, 3, "CADET "}, {0x00015000, 3, "PRIVT "}, {0x00010000, 2, "RECRT "},
                                       {0x00008000, 1, "TRAINE"}, {0x00006000, 1, "ROOKIE"}, {0x00004000, 1, "NOVICE"},
                                       {0x00002000, 1, "GUEST "}};
    entries.resize(rtype2 ? 13 : 10);
    return entries;
}

ScoreEntry enteredScore() { return {0x00055000, 6, "PILOT "}; }

std::vector<uint8_t> scoreTableBytes(bool rtype2, const std::vector<ScoreEntry>& ranked)
{
    // RType: 8 unused bytes, entries of name, score and stage from the best on, 7 unused bytes.
    // RType II: 5 unused bytes, entries of score and name with the best at the end.
    std::vector<uint8_t> table(rtype2 ? 135 : 115, 0);
    const std::size_t count = rtype2 ? 13 : 10;
    for (std::size_t rank = 0; rank < ranked.size() && rank < count; ++rank) {
        const ScoreEntry& e = ranked[rank];
        const std::size_t at = rtype2 ? 5 + (count - 1 - rank) * 10 : 8 + rank * 10;
        const std::size_t scoreAt = rtype2 ? at : at + 5, nameAt = rtype2 ? at + 4 : at;
        for (int i = 0; i < 4; ++i)
            table[scoreAt + std::size_t(i)] = uint8_t(e.score >> (24 - 8 * i));
        if (!rtype2)
            table[at + 9] = e.stage;
        std::copy_n(e.name.begin(), rtype2 ? 6 : 5, table.begin() + std::ptrdiff_t(nameAt));
    }
    return table;
}

RomFiles buildRTypeSet(const Bytes& program)
{
    RomFiles files;
    addProgram(files, program, {{"cn3_l0.bin", "cn3_h0.bin"}, {"cn3_l1.bin", "cn3_h1.bin"}}, 65536);
    addTiles(files, {"cn5_a0.bin", "cn5_a1.bin", "cn5_a2.bin", "cn5_a3.bin"}, 32768, 0);
    addTiles(files, {"cn5_b0.bin", "cn5_b1.bin", "cn5_b2.bin", "cn5_b3.bin"}, 32768, 1);
    addSprites(files, {"cn3_00.bin", "cn3_10.bin", "cn3_20.bin", "cn3_30.bin"}, 65536, 0);
    addSprites(files, {"cn3_01.bin", "cn3_11.bin", "cn3_21.bin", "cn3_31.bin"}, 65536, 1);
    return files;
}

RomFiles buildRTypeJapaneseSet(const Bytes& program)
{
    RomFiles files = buildRTypeSet(program);
    const std::pair<const char*, const char*> renames[] = {{"cn3_l0.bin", "db_a1.bin"},
                                                           {"cn3_h0.bin", "db_b1.bin"},
                                                           {"cn3_l1.bin", "db_a2.bin"},
                                                           {"cn3_h1.bin", "db_b2.bin"}};
    for (const auto& [from, to] : renames) {
        files[to] = std::move(files[from]);
        files.erase(from);
    }
    return files;
}

RomFiles buildRType2Set(const Bytes& program)
{
    RomFiles files;
    addProgram(files, program, {{"rt2_l0.bin", "rt2_h0.bin"}, {"rt2_l1.bin", "rt2_h1.bin"}}, 131072);
    addTiles(files, {"rt2_g00l.bin", "rt2_g10l.bin", "rt2_g20l.bin", "rt2_g30l.bin"}, 65536, 0);
    addTiles(files, {"rt2_g00u.bin", "rt2_g10u.bin", "rt2_g20u.bin", "rt2_g30u.bin"}, 65536, 1);
    addTiles(files, {"rt2_g01l.bin", "rt2_g11l.bin", "rt2_g21l.bin", "rt2_g31l.bin"}, 65536, 2);
    addTiles(files, {"rt2_g01u.bin", "rt2_g11u.bin", "rt2_g21u.bin", "rt2_g31u.bin"}, 65536, 3);
    addSprites(files, {"rt2_n0_l.bin", "rt2_n1_l.bin", "rt2_n2_l.bin", "rt2_n3_l.bin"}, 65536, 0);
    addSprites(files, {"rt2_n0_u.bin", "rt2_n1_u.bin", "rt2_n2_u.bin", "rt2_n3_u.bin"}, 65536, 1);
    return files;
}

bool writeIremTestRomSet(const std::string& folder, const std::string& set, const std::string& programPath,
                         std::string& error)
{
    RomFiles (*build)(const Bytes&) = set == "rtype"     ? buildRTypeSet
                                      : set == "rtypejp" ? buildRTypeJapaneseSet
                                      : set == "rtype2"  ? buildRType2Set
                                                         : nullptr;
    if (!build) {
        error = "unknown set " + set;
        return false;
    }
    Bytes program;
    if (!testrom::readBinary(programPath, program, error))
        return false;
    try {
        return testrom::writeRomFiles(folder, set, build(program), error);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

} // namespace vortastr::irem::testset
