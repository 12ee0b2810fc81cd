// Iron Horse and Jail Break: the ports and registers of both maps, and the board rules of the
// renderers that the generated sets do not reach in every case (a change of Iron Horse's tile
// bank on unchanged cells, its sprite-RAM select and its unscrolled value 255, Jail Break's ninth
// scroll bit, its sprite code's high bit and the hidden top lines).
#include "boards/konami_tile/iron_horse_jail_break_board.h"
#include "boards/konami_tile/iron_horse_jail_break_video.h"
#include "cpu/m6809/m6809_engine.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vortastr::test {
namespace {

uint32_t polled = 0;
uint32_t fakePoll(uint32_t mask) { return polled & mask; }
std::vector<std::pair<GameId, uint8_t>> sounds;
void fakeSound(GameId game, uint8_t value) { sounds.emplace_back(game, value); }

struct HorseBreak : ::testing::Test {
    DipBytes dips{0x12, 0x34};
    uint8_t latch = 1;

    void SetUp() override
    {
        polled = 0;
        sounds.clear();
        board() = Board{};
        board().io = {.pollInput = fakePoll, .dips = &dips, .interruptEnable = &latch, .soundCommand = fakeSound};
    }
    void TearDown() override { board() = Board{}; }

    // A fresh board of the game over zeroed memory, mapped as the set-up maps it.
    void use(GameId game)
    {
        board().game = game;
        board().memory = CpuMemory::allocate(Cpu6809);
        m6809Engine().state = M6809Context{};
        konamiTile::setUpIronHorseJailBreak(board());
    }
    // Through the game's own handlers (which pages reach them is checked below).
    uint8_t read(uint16_t address)
    {
        return board().game == IronHorse ? konamiTile::ironHorseRead(address) : konamiTile::jailBreakRead(address);
    }
    void write(uint16_t address, uint8_t value)
    {
        if (board().game == IronHorse)
            konamiTile::ironHorseWrite(value, address);
        else
            konamiTile::jailBreakWrite(value, address);
    }
};

TEST_F(HorseBreak, PortsReadTheDipsAndTheSharedKeyMapping)
{
    struct Case {
        GameId game;
        uint16_t address;
        uint32_t held;
        uint8_t expected;
    };
    const Case cases[] = {
        {IronHorse, 0x0018, 0, 0xED},                         // NOT dip A
        {IronHorse, 0x0019, 0, 0xCB},                         // NOT dip B
        {IronHorse, 0x0010, InputDigit1 | InputDigit3, 0xF6}, // start 1 bit 3, coin bit 0
        {IronHorse, 0x0011, InputRight | InputCtrl, 0xED},
        {IronHorse, 0x0011, InputLeft | InputRight, 0xFD}, // right wins over left
        {IronHorse, 0x0012, InputPad2 | InputPadPlus, 0xD7},
        {JailBreak, 0x3303, 0, 0xED},
        {JailBreak, 0x3200, 0, 0xCB},
        {JailBreak, 0x3300, InputDigit2, 0xEF},
        {JailBreak, 0x3301, InputUp | InputShift, 0xDB},
        {JailBreak, 0x3302, InputPad4, 0xFE},
    };
    for (const Case& c : cases) {
        use(c.game);
        polled = c.held;
        EXPECT_EQ(read(c.address), c.expected) << c.game << " " << std::hex << c.address;
    }
    use(IronHorse);
    board().data()[0x0040] = 0x5A; // undecoded addresses of the I/O page read as memory
    EXPECT_EQ(read(0x0040), 0x5A);
}

TEST_F(HorseBreak, InterruptEnableSoundAndLatchWrites)
{
    use(IronHorse);
    m6809Engine().state.pendingInterrupts = 0x20;
    write(0x0004, 0);
    EXPECT_EQ(latch & 1, 0);
    EXPECT_EQ(m6809Engine().state.pendingInterrupts, 0) << "turning interrupts off drops the request";
    write(0x0004, 3);
    EXPECT_EQ(latch & 1, 1);
    write(0x0003, 0x09);
    EXPECT_EQ(board().data()[0x0003], 0x09) << "the renderer reads the control latch from memory";
    write(0x0008, 0x42);
    write(0x0025, 0x80);
    EXPECT_EQ(board().data()[0x0025], 0x80) << "row scroll is kept";

    use(JailBreak);
    write(0x3000, 0);
    EXPECT_EQ(latch & 1, 0);
    EXPECT_EQ(board().data()[0x3000], 0) << "the enable register keeps nothing";
    write(0x3000, 1);
    EXPECT_EQ(board().data()[0x3000], 0);
    write(0x3100, 0x17);
    write(0x2020, 1); // scroll RAM is plain memory
    EXPECT_EQ(read(0x2020), 1);
    const std::vector<std::pair<GameId, uint8_t>> expected{{IronHorse, 0x42}, {JailBreak, 0x17}};
    EXPECT_EQ(sounds, expected);
}

TEST_F(HorseBreak, OnlyTheIoPagesGoThroughTheHandlers)
{
    use(JailBreak);
    const M6809Context& j = m6809Engine().state;
    for (unsigned page = 0; page < 256; ++page) {
        const bool io = page >= 0x30 && page <= 0x33;
        EXPECT_EQ(j.readPage[page] == nullptr, io) << page;
        EXPECT_EQ(j.writePage[page] == nullptr, io) << page;
    }
    EXPECT_EQ(j.readHandler[0x33], &konamiTile::jailBreakRead);
    EXPECT_EQ(j.writeHandler[0x30], &konamiTile::jailBreakWrite);
    use(IronHorse);
    const M6809Context& h = m6809Engine().state;
    EXPECT_EQ(h.readHandler[0x00], &konamiTile::ironHorseRead);
    EXPECT_EQ(h.writeHandler[0x00], &konamiTile::ironHorseWrite);
    for (unsigned page = 1; page < 256; ++page)
        EXPECT_NE(h.readPage[page], nullptr) << page;
}

// Renders through the global sheets: tile t is solid pen (t & 3) + 4 ((t >> 9) & 3), sprite s
// solid pen 1 + (s >> 8); colour16 of value v is 0x100 + v.
struct HorseBreakRender : ::testing::Test {
    Board b;
    DisplayState display;
    ColourTables colours;

    void SetUp() override
    {
        GraphicsSheets& sheets = graphicsSheets();
        sheets.tileSheet = std::make_unique<GraphicsSheet>();
        sheets.spriteSheet = std::make_unique<GraphicsSheet>();
        GraphicsSheet& tiles = *sheets.tileSheet;
        GraphicsSheet& sprites = *sheets.spriteSheet;
        tiles.units = sprites.units = 8;
        tiles.pixels.assign(8 * kUnitBytes, 0);
        sprites.pixels.assign(8 * kUnitBytes, 0);
        for (int t = 0; t < 2048; ++t)
            for (int y = 0; y < 8; ++y)
                std::memset(&tiles.pixels[std::size_t(((t >> 4) * 8 + y) * kSheetWidth + (t & 15) * 8)],
                            (t & 3) + 4 * ((t >> 9) & 3), 8);
        for (int s = 0; s < 512; ++s)
            for (int y = 0; y < 16; ++y)
                std::memset(&sprites.pixels[std::size_t(((s >> 3) * 16 + y) * kSheetWidth + (s & 7) * 16)],
                            1 + (s >> 8), 16);
        setIdentityIndexMapping(colours);
        for (int i = 0; i < 256; ++i)
            colours.colour16[0][std::size_t(i)] = static_cast<uint16_t>(0x100 + i);
        display.screen = ScreenSurface(256, 256, PixelFormat::Rgb565);
    }
    void TearDown() override { releaseSheets(); }
    void use(GameId game)
    {
        b.game = game;
        b.memory = CpuMemory::allocate(Cpu6809);
        colours.colourLookup = colourLookupOf(game).data();
    }
    uint8_t* memory() { return b.data(); }
    uint16_t at(int x, int y)
    {
        render();
        uint16_t v;
        std::memcpy(&v, display.screen.pixels() + std::size_t(y) * std::size_t(display.screen.pitch()) + 2 * x, 2);
        return v - 0x100;
    }
    void render() { konamiTile::renderHorseBreak(display, colours, b); }
};

TEST_F(HorseBreakRender, IronHorseTileBankAndAttributeBitsPickTheTile)
{
    use(IronHorse);
    memory()[0x2400] = 1; // cell (0, 0): tile 1
    EXPECT_EQ(at(3, 3), 1);
    memory()[0x0003] = 0x01; // bank 1: every cell is drawn again, unchanged ones too
    EXPECT_EQ(at(3, 3), 1 + 8);
    memory()[0x2000] = 0x20; // bit 5: +512 and flipped top to bottom
    EXPECT_EQ(at(3, 3), 1 + 12);
    memory()[0x2000] = 0x40; // bit 6: +256
    EXPECT_EQ(at(3, 3), 1 + 8);
    memory()[0x0003] = 0x00;
    EXPECT_EQ(at(3, 3), 1);
}

TEST_F(HorseBreakRender, IronHorseRowScrollShowsTwoHundredFiftyFiveUnscrolled)
{
    use(IronHorse);
    for (int col = 0; col < 32; ++col)
        memory()[0x2400 + col] = uint8_t(col); // row 0: pens 0, 1, 2, 3, 0, ...
    struct Case {
        uint8_t scroll;
        int pen; // at screen x 0 of row 0
    } cases[] = {{0, 0}, {8, 1}, {16, 2}, {248, 3}, {255, 0}};
    for (const Case& c : cases) {
        memory()[0x0020] = c.scroll;
        EXPECT_EQ(at(0, 0), c.pen) << int(c.scroll);
    }
    memory()[0x0020] = 8;
    EXPECT_EQ(at(255, 0), 0) << "the band wraps: background x 7 at screen x 255";
    EXPECT_EQ(at(0, 8), 0) << "the next row keeps its own value";
}

TEST_F(HorseBreakRender, IronHorseSpritesComeFromTheSelectedRam)
{
    use(IronHorse);
    uint8_t* other = memory() + 0x3800;
    other[0] = 0, other[1] = 1, other[2] = 40, other[3] = 40, other[4] = 0; // sprite 256
    EXPECT_EQ(at(45, 45), 2) << "control bit 3 clear: the RAM at 0x3800";
    memory()[0x0003] = 0x08;
    EXPECT_EQ(at(45, 45), 0);
    uint8_t* selected = memory() + 0x3000 + 5 * 50; // the last entry is drawn first
    selected[0] = 3, selected[1] = 0, selected[2] = 40, selected[3] = 40, selected[4] = 0;
    EXPECT_EQ(at(45, 45), 1);
    selected[2] = 16; // lines up to 16 hold no sprites
    EXPECT_EQ(at(45, 45), 0);
}

TEST_F(HorseBreakRender, JailBreakNinthScrollBitAndSpriteCodeBit)
{
    use(JailBreak);
    for (int col = 0; col < 64; ++col) {
        memory()[0x0800 + col] = uint8_t(col);
        memory()[0x0000 + col] = col >= 32 ? 0x80 : 0x00; // right half: tiles 512 on
    }
    memory()[0x2000] = 8;
    EXPECT_EQ(at(0, 0), 1);
    memory()[0x2020] = 1; // 264: the right half of the 512-wide map
    EXPECT_EQ(at(0, 0), 1 + 4);
    memory()[0x2020] = 0;
    memory()[0x2000] = 0;
    uint8_t* entry = memory() + 0x1000;
    entry[0] = 0, entry[1] = 0x40, entry[2] = 50, entry[3] = 50; // code, attr, x, y
    EXPECT_EQ(at(55, 55), 2) << "attribute bit 6 adds 256 to the code";
    entry[4] = 0, entry[5] = 0, entry[6] = 50, entry[7] = 50; // a later entry covers it
    EXPECT_EQ(at(55, 55), 1);
    entry[6] = 0; // x 0 hides an entry
    EXPECT_EQ(at(55, 55), 2);
}

} // namespace
} // namespace vortastr::test
