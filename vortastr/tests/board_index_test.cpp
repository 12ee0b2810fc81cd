// Every game id walked through each per-game index: family, set-up, processor, interrupt rule,
// ROM lists, palette family, palette RAM and renderer. The expectations are this table's own,
// so a game that lands in the wrong arm of any switch shows up here.
#include "boards/board_setup.h"
#include "boards/game_video.h"
#include "boards/interrupt_rules.h"
#include "boards/konami_bitmap/konami_bitmap_video.h"
#include "boards/rom_files.h"
#include "boards/rom_sets.h"
#include "tests/game_fixtures.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

using F = BoardFamily;
enum class Look { Bitmap, TrackField, HyperSports, RockNRope, CircusCharlie, JailBreak, Irem, Default };

struct Row {
    GameId game;
    F family;
    CpuKind cpu;
    bool runs;          // set-up builds the board in this version
    int32_t enabled[2]; // the rule's first two answers with interrupts enabled
    int32_t disabled;   // its first answer with them disabled
    bool sideBuffer;
    bool characters, sprites;
    Look look;
};

// clang-format off
constexpr Row kRows[] = {
    {Tank,               F::Atari6502,    Cpu6502, false, {1, 1},       1,      false, true,  true,  Look::Default},
    {Vanguard,           F::Atari6502,    Cpu6502, false, {1, 1},       1,      false, true,  true,  Look::Default},
    {Eggs,               F::Atari6502,    Cpu6502, false, {1, 1},       1,      false, true,  true,  Look::Default},
    {CrystalCastles,     F::Atari6502,    Cpu6502, true,  {1, 1},       1,      true,  false, true,  Look::Default},
    {Zoar,               F::Atari6502,    Cpu6502, false, {2, 2},       2,      false, true,  true,  Look::Default},
    {Unused5,            F::None,         Cpu6502, false, {0, 0},       0,      false, false, false, Look::Default},
    {Unused6,            F::None,         Cpu6502, false, {0, 0},       0,      false, false, false, Look::Default},
    {PandorasPalace,     F::KonamiTile,   Cpu6809, false, {0, 0},       0,      false, true,  true,  Look::Default},
    {Tutankham,          F::KonamiBitmap, Cpu6809, true,  {0, 2},       0,      true,  false, false, Look::Bitmap},
    {VortaStrike,        F::KonamiBitmap, Cpu6809, true,  {0, 2},       0,      true,  false, false, Look::Bitmap},
    {VortaStrikeBootleg, F::KonamiBitmap, Cpu6809, true,  {0, 2},       0,      true,  false, false, Look::Bitmap},
    {TunnelHunt,         F::Atari6502,    Cpu6502, true,  {1, 1},       1,      false, true,  false, Look::Default},
    {IronHorse,          F::KonamiTile,   Cpu6809, true,  {0, 32},      0,      false, true,  true,  Look::Default},
    {SkyKid,             F::KonamiTile,   Cpu6809, false, {2, 2},       0,      false, true,  false, Look::Default},
    {TrackNField,        F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::TrackField},
    {HyperSports,        F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::HyperSports},
    {RockNRope,          F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::RockNRope},
    {CircusCharlie,      F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::CircusCharlie},
    {JailBreak,          F::KonamiTile,   Cpu6809, true,  {0, 2},       0,      false, true,  true,  Look::JailBreak},
    {CircusCharlie2,     F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::CircusCharlie},
    {Tazmania,           F::ScrambleZ80,  CpuZ80,  true,  {102, 102},   0xFFFF, false, true,  true,  Look::Default},
    {Scramble,           F::ScrambleZ80,  CpuZ80,  true,  {102, 102},   0xFFFF, false, true,  true,  Look::Default},
    {RopeMan,            F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::RockNRope},
    {WhizQuiz,           F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::JailBreak},
    {SuperBond,          F::ScrambleZ80,  CpuZ80,  true,  {102, 102},   0xFFFF, false, true,  true,  Look::Default},
    {RoadFighters,       F::KonamiTile,   Cpu6809, false, {2, 2},       0,      false, true,  true,  Look::Default},
    {MegaZone,           F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::Default},
    {RTypeJapanese,      F::IremV30,      CpuV30,  true,  {0x20, 0x20}, 0x20,   false, true,  true,  Look::Irem},
    {RType,              F::IremV30,      CpuV30,  true,  {0x20, 0x20}, 0x20,   false, true,  true,  Look::Irem},
    {RType2,             F::IremV30,      CpuV30,  true,  {0, 0},       0,      false, true,  true,  Look::Irem},
    {RTypeLeo,           F::IremV30,      CpuV30,  true,  {8, 8},       8,      false, true,  true,  Look::Default},
    {MasterT,            F::IremV30,      CpuV30,  true,  {0x20, 0x20}, 0x20,   false, true,  true,  Look::Irem},
    {ShaolinsRoad,       F::KonamiTile,   Cpu6809, true,  {2, 2},       0,      false, true,  true,  Look::JailBreak},
    {InTheHunt,          F::IremV30,      CpuV30,  true,  {8, 8},       8,      false, true,  true,  Look::Default},
    {NewZealandStory,    F::StoryZ80,     CpuZ80,  false, {0x38, 0x38}, 0x38,   true,  true,  true,  Look::Default},
    {HeroTonma,          F::IremV30,      CpuV30,  true,  {0x22, 0x22}, 0x22,   false, true,  true,  Look::Irem},
    {DragonBreed,        F::IremV30,      CpuV30,  true,  {0x20, 0x20}, 0x20,   false, true,  true,  Look::Irem},
    {Kengo,              F::IremV30,      CpuV30,  true,  {0, 0},       0,      false, true,  true,  Look::Irem},
    {UnderCps,           F::IremV30,      CpuV30,  true,  {0, 0},       0,      false, true,  true,  Look::Default},
};
// clang-format on

TEST(BoardIndex, TheTableCoversEveryGameOnceInOrder)
{
    ASSERT_EQ(std::size(kRows), std::size_t(kGameCount));
    for (int32_t n = 0; n < kGameCount; ++n)
        EXPECT_EQ(kRows[n].game, n);
}

TEST(BoardIndex, FamiliesAndTheirPredicates)
{
    for (const Row& r : kRows) {
        EXPECT_EQ(boardFamily(r.game), r.family) << r.game;
        EXPECT_EQ(isKonamiBitmap(r.game), r.family == F::KonamiBitmap) << r.game;
        EXPECT_EQ(isKonamiTile(r.game), r.family == F::KonamiTile) << r.game;
        EXPECT_EQ(isIremV30(r.game), r.family == F::IremV30) << r.game;
        EXPECT_EQ(isScrambleZ80(r.game), r.family == F::ScrambleZ80) << r.game;
        EXPECT_EQ(isAtari6502(r.game), r.family == F::Atari6502) << r.game;
        if (needs16BitScreen(r.game)) {
            EXPECT_EQ(r.family, F::IremV30) << r.game;
        }
    }
    EXPECT_EQ(boardFamily(NoGame), F::None);
    EXPECT_EQ(boardFamily(static_cast<GameId>(kGameCount)), F::None);
}

TEST(BoardIndex, InterruptRuleOfEveryGame)
{
    uint8_t latch = 0;
    for (const Row& r : kRows) {
        board() = Board{};
        board().io.interruptEnable = &latch;
        latch = 0x05; // bit 0 (the usual enable) and bit 2 (Shaolin's Road)
        EXPECT_EQ(interruptRule(r.game, 0), r.enabled[0]) << r.game;
        EXPECT_EQ(interruptRule(r.game, 0), r.enabled[1]) << r.game;
        board() = Board{};
        board().io.interruptEnable = &latch;
        latch = 0;
        EXPECT_EQ(interruptRule(r.game, 0), r.disabled) << r.game;
    }
    board() = Board{};
}

TEST(BoardIndex, SetUpBuildsOnlyTheBoardsOfThisVersionOnTheirProcessor)
{
    TempFolder folder;
    std::vector<std::string> messages;
    romFiles().romPath = folder.str();
    romFiles().reportError = [&messages](const std::string& text) { messages.push_back(text); };
    for (const Row& r : kRows) {
        EXPECT_EQ(boardAvailable(r.game), r.runs) << r.game;
        if (r.family != F::None) {
            EXPECT_EQ(boardTiming(r.game).kind, r.cpu) << r.game;
        }
        writeBlankRomSet(folder, r.game);
        messages.clear();
        const int status = setUpBoard(r.game);
        EXPECT_EQ(status, r.runs ? kBoardOk : kBoardNotAvailable) << r.game;
        if (r.runs) {
            EXPECT_EQ(board().kind, r.cpu) << r.game;
            EXPECT_EQ(board().slots.cpuCount, 1) << r.game;
            EXPECT_TRUE(messages.empty()) << r.game;
        } else {
            EXPECT_EQ(board().data(), nullptr) << r.game;
            EXPECT_EQ(messages.size(), 1u) << r.game;
        }
    }
    board() = Board{};
    romFiles().reportError = nullptr;
    romFiles().romPath = ".";
}

TEST(BoardIndex, RomListsOfEveryGame)
{
    for (const Row& r : kRows) {
        const ProgramRoms program = programRoms(r.game);
        const bool hasProgram = !program.lists.empty() || !program.pairs.empty();
        EXPECT_EQ(hasProgram, r.family != F::None) << r.game;
        EXPECT_EQ(sideBufferRoms(r.game).size > 0, r.sideBuffer) << r.game;
        EXPECT_EQ(!characterSet(r.game).steps.empty(), r.characters) << r.game;
        EXPECT_EQ(!spriteSet(r.game).steps.empty(), r.sprites) << r.game;
    }
}

GameId lookRepresentative(Look look)
{
    switch (look) {
    case Look::Bitmap: return VortaStrike;
    case Look::TrackField: return TrackNField;
    case Look::HyperSports: return HyperSports;
    case Look::RockNRope: return RockNRope;
    case Look::CircusCharlie: return CircusCharlie;
    case Look::JailBreak: return JailBreak;
    case Look::Irem: return RType;
    case Look::Default: return Tank;
    }
    return Tank;
}

TEST(BoardIndex, PaletteLookupFamilyOfEveryGame)
{
    // The representatives hold different tables, so sharing one means sharing the family.
    EXPECT_NE(&colourLookupOf(VortaStrike), &colourLookupOf(Tank));
    EXPECT_NE(&colourLookupOf(RType), &colourLookupOf(Tank));
    for (const Row& r : kRows)
        EXPECT_EQ(&colourLookupOf(r.game), &colourLookupOf(lookRepresentative(r.look))) << r.game;
}

TEST(BoardIndex, PaletteRamAndRendererFollowOnlyTheBoardsThatHaveThem)
{
    StartedEmulator s("", 8);
    s.emu.display.screen = ScreenSurface(256, 256, PixelFormat::Indexed8);
    for (const Row& r : kRows) {
        Board b;
        b.game = r.game;
        b.memory = CpuMemory::allocate(Cpu6809);
        std::fill(b.data(), b.data() + 0x8000, uint8_t(0x55));
        std::fill(s.emu.display.screen.pixels(), s.emu.display.screen.pixels() + 256 * 256, uint8_t(0));
        renderFrame(s.emu.display, s.emu.colours, b);
        // Where each bitmap board shows its first bitmap byte (0x55): Crystal Castles from line 16
        // and 0x0C00 on, Tunnel Hunt's bit 0 at the bottom (0xFF), the Konami boards at (0, 0). The
        // tile boards show no memory byte as a pixel; they have their own tests.
        const uint8_t* pixels = s.emu.display.screen.pixels();
        const bool drawn = r.game == CrystalCastles ? pixels[16 * 256] == kFirstGameEntry + 5
                           : r.game == TunnelHunt   ? pixels[255 * 256] == 0xFF
                                                    : pixels[0] == kFirstGameEntry + 5;
        const bool bitmap = r.runs && (r.look == Look::Bitmap || r.family == F::Atari6502);
        EXPECT_EQ(drawn, bitmap) << r.game;

        konamiBitmap::paletteRecords() = {};
        s.emu.colours.rgb[0][3] = RgbEntry{};
        b.data()[0x8003] = 0x07; // full red
        syncPaletteRam(r.game, s.emu.display, s.emu.colours, b.data(), true);
        EXPECT_EQ(s.emu.colours.rgb[0][3].red == 255, r.runs && r.family == F::KonamiBitmap) << r.game;
    }
    konamiBitmap::paletteRecords() = {};
}

} // namespace
} // namespace vortastr::test
