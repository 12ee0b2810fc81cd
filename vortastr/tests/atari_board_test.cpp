// The Crystal Castles board's registers, trackball and ports, and the Atari bitmap renderers.
#include "boards/atari/atari_video.h"
#include "boards/atari/crystal_castles_board.h"
#include "boards/board_setup.h"
#include "boards/rom_files.h"
#include "cpu/m6502/m6502_engine.h"
#include "shell/trackball_motion.h"
#include "tests/game_fixtures.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace vortastr::test {
namespace {

using namespace atari;

uint32_t heldInputs = 0;
uint32_t fakePoll(uint32_t mask) { return heldInputs & mask; }

struct CastlesBoard : ::testing::Test {
    TempFolder folder;
    DipBytes dips{0xFD, 0};
    uint8_t latch = 1;

    void SetUp() override
    {
        heldInputs = 0;
        romFiles().romPath = folder.str();
        board().io.pollInput = fakePoll;
        board().io.dips = &dips;
        board().io.interruptEnable = &latch;
        writeBlankRomSet(folder, CrystalCastles);
        ASSERT_EQ(setUpBoard(CrystalCastles), kBoardOk);
        setUpExtras(CrystalCastles);
    }
    void TearDown() override
    {
        releaseExtras(CrystalCastles);
        board().io = BoardIo{};
        romFiles().romPath = ".";
    }
    // Through the engine's range lists, as the processor reaches the board.
    static uint8_t read(uint16_t address)
    {
        for (const M6502ReadEntry* e = M6502Engine::context.readList; e->low != m6502ListEnd; ++e)
            if (e->low <= address && address <= e->high)
                return e->handler(address);
        return board().data()[address];
    }
    static void write(uint16_t address, uint8_t value)
    {
        for (const M6502WriteEntry* e = M6502Engine::context.writeList; e->low != m6502ListEnd; ++e)
            if (e->low <= address && address <= e->high) {
                e->handler(address, value);
                return;
            }
        board().data()[address] = value;
    }
    static uint8_t pixel(int x, int y)
    {
        const uint8_t byte = board().data()[(y << 7) | (x >> 1)];
        return x & 1 ? byte >> 4 : byte & 15;
    }
    AtariState& state() { return board().family.atari; }
};

struct SteppingCase {
    uint8_t control;
    int startY;
    std::vector<std::pair<int, int>> pixels;
    int endX, endY;
};

TEST_F(CastlesBoard, PixelWritesStepAsTheControlByteSays)
{
    // The bitmap starts at line 24 (offset 0x0C00); the same figures as at line 10, 24 lines on.
    const SteppingCase cases[] = {
        {0x00, 34, {{4, 34}, {5, 35}, {6, 36}}, 7, 37},
        {0x02, 34, {{4, 34}, {5, 34}, {6, 34}}, 7, 34},
        {0x01, 34, {{4, 34}, {4, 35}, {4, 36}}, 4, 37},
        {0x0C, 34, {{4, 34}, {3, 33}, {2, 32}}, 1, 31},
        {0x03, 34, {{4, 34}}, 4, 34},
    };
    for (const SteppingCase& c : cases) {
        std::memset(board().data() + kBitmapStart, 0, kBitmapEnd - kBitmapStart);
        for (unsigned bit = 0; bit < 8; ++bit)
            write(uint16_t(ccPort::kControl0 + bit), c.control >> bit & 1);
        write(ccPort::kPixelX, 4);
        write(ccPort::kPixelY, uint8_t(c.startY));
        for (int i = 0; i < 3; ++i)
            write(ccPort::kPixel, 0x50);
        for (const auto& [x, y] : c.pixels)
            EXPECT_EQ(pixel(x, y), 5) << "control " << int(c.control) << " at " << x << "," << y;
        int lit = 0;
        for (uint32_t offset = kBitmapStart; offset < kBitmapEnd; ++offset)
            lit += (board().data()[offset] & 15 ? 1 : 0) + (board().data()[offset] >> 4 ? 1 : 0);
        EXPECT_EQ(lit, int(c.pixels.size())) << "control " << int(c.control);
        EXPECT_EQ(read(ccPort::kPixelX), c.endX);
        EXPECT_EQ(read(ccPort::kPixelY), c.endY);
    }
}

TEST_F(CastlesBoard, PixelWritesBelowTheBitmapChangeNothingAndDoNotStep)
{
    for (const auto& [x, y] : {std::pair{4, 10}, {255, 23}, {0, 0}}) {
        std::vector<uint8_t> before(board().data(), board().data() + kBitmapStart);
        write(ccPort::kControl0, 0);
        write(ccPort::kPixelX, uint8_t(x));
        write(ccPort::kPixelY, uint8_t(y));
        before[0] = uint8_t(x); // the register writes store their bytes too
        before[1] = uint8_t(y);
        write(ccPort::kPixel, 0xF0);
        before[2] = 0xF0;
        EXPECT_TRUE(std::equal(before.begin(), before.end(), board().data())) << x << "," << y;
        EXPECT_EQ(state().pixelX, x);
        EXPECT_EQ(state().pixelY, y);
    }
    // The first byte of the bitmap is accepted.
    write(ccPort::kPixelX, 1);
    write(ccPort::kPixelY, 24);
    write(ccPort::kPixel, 0xA0);
    EXPECT_EQ(board().data()[kBitmapStart], 0xA0);
    EXPECT_EQ(state().pixelX, 2);
}

TEST_F(CastlesBoard, PixelReadsGiveTheNibbleTwiceAndStep)
{
    board().data()[(40 << 7) | 8] = 0x3C; // (16, 40) = 12, (17, 40) = 3
    write(uint16_t(ccPort::kControl0 + 1), 1);
    write(ccPort::kPixelX, 16);
    write(ccPort::kPixelY, 40);
    EXPECT_EQ(read(ccPort::kPixel), 12 * 17);
    EXPECT_EQ(read(ccPort::kPixel), 3 * 17);
    EXPECT_EQ(state().pixelX, 18);
    EXPECT_EQ(state().pixelY, 40);
}

struct TrackballCase {
    uint32_t held;
    uint16_t port;
    int dV, dH; // per read
};

TEST_F(CastlesBoard, TrackballReadsMoveTheCountersByTheHeldArrows)
{
    const TrackballCase cases[] = {
        {InputDown, ccPort::kTrackballV, -4, -2},
        {InputUp, ccPort::kTrackballV, 6, 0},
        {InputUp | InputDown, ccPort::kTrackballV, -4, -2},
        {0, ccPort::kTrackballV, 0, 0},
        {InputLeft, ccPort::kTrackballH, 2, -4},
        {InputRight, ccPort::kTrackballH, -2, 4},
        {InputLeft | InputRight, ccPort::kTrackballH, 2, -4},
        {InputDown, ccPort::kTrackballH, 0, 0},
    };
    for (const TrackballCase& c : cases) {
        state().trackballV = 100;
        state().trackballH = 50;
        heldInputs = c.held;
        for (int i = 1; i <= 3; ++i) {
            const uint8_t answer = read(c.port);
            EXPECT_EQ(state().trackballV, uint8_t(100 + i * c.dV)) << c.held << " read " << i;
            EXPECT_EQ(state().trackballH, uint8_t(50 + i * c.dH)) << c.held << " read " << i;
            EXPECT_EQ(answer, c.port == ccPort::kTrackballV ? state().trackballV : state().trackballH);
        }
    }
}

int32_t motionX = 0, motionY = 0;
void fakeMotion(int32_t& dx, int32_t& dy)
{
    dx = motionX;
    dy = motionY;
    motionX = motionY = 0;
}

TEST_F(CastlesBoard, MouseOrStickMotionMovesTheCountersBeforeTheArrows)
{
    board().io.takeTrackballMotion = fakeMotion;
    state().trackballH = 10;
    state().trackballV = 10;
    motionX = 5;
    motionY = 3; // downward lowers V
    heldInputs = InputDown;
    EXPECT_EQ(read(ccPort::kTrackballV), uint8_t(10 - 3 - 4));
    EXPECT_EQ(state().trackballH, uint8_t(10 + 5 - 2));
    EXPECT_EQ(read(ccPort::kTrackballH), uint8_t(10 + 5 - 2)); // motion taken once
    motionX = -20;
    heldInputs = 0;
    EXPECT_EQ(read(ccPort::kTrackballH), uint8_t(13 - 20));
}

struct StickSource : JoystickSource {
    JoystickReading reading;
    int deviceCount() override { return 1; }
    bool read(int, JoystickReading& r) override
    {
        r = reading;
        return true;
    }
    JoystickCaps caps(int) override { return {}; }
};

TEST(TrackballMotion, MouseMotionIsBoundedAndTheStickAddsItsDeflection)
{
    InputState saved = inputState();
    RunState run;
    StickSource stick;
    inputState().run = &run;
    inputState().joysticks = nullptr;
    int32_t dx = 0, dy = 0;
    takeTrackballMotion(dx, dy); // forget what earlier tests left
    addMouseMotion(10, -4);
    addMouseMotion(2000, 0);
    takeTrackballMotion(dx, dy);
    EXPECT_EQ(dx, kMaxPendingMotion);
    EXPECT_EQ(dy, -4);
    takeTrackballMotion(dx, dy);
    EXPECT_EQ(dx, 0);

    inputState().joysticks = &stick;
    inputState().joystick1 = 0;
    inputState().caps[0] = JoystickCaps{};
    const struct {
        int32_t x, y, dx, dy;
    } cases[] = {{32767, 32767, 0, 0},
                 {35000, 30000, 0, 0},
                 {65535, 32767, kStickMotion, 0},
                 {0, 65535, -kStickMotion, kStickMotion},
                 {49151, 16383, kStickMotion / 2, -kStickMotion / 2}};
    for (const auto& c : cases) {
        stick.reading = {c.x, c.y, 0};
        takeTrackballMotion(dx, dy);
        EXPECT_EQ(dx, c.dx) << c.x;
        EXPECT_EQ(dy, c.dy) << c.y;
    }
    run.inputSuspended = true;
    addMouseMotion(5, 5);
    takeTrackballMotion(dx, dy);
    EXPECT_EQ(dx, 0);
    inputState() = saved;
}

TEST_F(CastlesBoard, SwitchPortTogglesVerticalBlankAndAcknowledges)
{
    board().m6502InterruptPending = 1;
    const uint8_t first = read(ccPort::kSwitches);
    EXPECT_EQ(board().m6502InterruptPending, 0);
    const uint8_t second = read(ccPort::kSwitches);
    EXPECT_EQ((first ^ second), 0x20);
    EXPECT_EQ(first | 0x20, 0xFF);
    heldInputs = InputDigit3 | InputDigit4 | InputCtrl;
    EXPECT_EQ(read(ccPort::kSwitches) | 0x20, 0xFF & ~0x02 & ~0x04 & ~0x40);
}

TEST_F(CastlesBoard, OptionsPortCarriesTheDipBitsAndStartKeys)
{
    EXPECT_EQ(read(ccPort::kOptions), 0xFD);
    heldInputs = InputDigit1;
    EXPECT_EQ(read(ccPort::kOptions), 0xF5);
    heldInputs = InputDigit2;
    EXPECT_EQ(read(ccPort::kOptions), 0xED);
}

TEST_F(CastlesBoard, BankSelectPalettesControlAndRomWrites)
{
    for (std::size_t i = 0; i < state().bankBuffer.size(); ++i)
        state().bankBuffer[i] = uint8_t(i < kBankBytes ? 0x11 : 0x22);
    write(ccPort::kBankSelect, 3);
    EXPECT_EQ(board().data()[0xA000], 0x11);
    EXPECT_EQ(board().data()[0xDFFF], 0x11);
    write(ccPort::kBankSelect, 2);
    EXPECT_EQ(board().data()[0xA000], 0x22);
    EXPECT_EQ(board().data()[0xE000], 0); // the fixed chip is not banked

    write(0x9FA5, 0x12);
    EXPECT_EQ(board().data()[0x9F85], 0x12);
    EXPECT_EQ(board().data()[0x9FA5], 1);
    write(0x9F86, 0x34);
    EXPECT_EQ(board().data()[0x9F86], 0x34);
    EXPECT_EQ(board().data()[0x9FA6], 0);

    EXPECT_EQ(spriteBuffer(state()), kSpriteBufferClear);
    write(ccPort::kControl7, 0x80);
    EXPECT_EQ(spriteBuffer(state()), kSpriteBufferSet);
    write(ccPort::kControl7, 0);
    EXPECT_EQ(spriteBuffer(state()), kSpriteBufferClear);

    write(0xC000, 0x99);
    EXPECT_EQ(board().data()[0xC000], 0x22);
}

TEST_F(CastlesBoard, RandomBytesRepeatAfterEverySetUp)
{
    std::vector<uint8_t> first;
    for (int i = 0; i < 16; ++i)
        first.push_back(read(ccPort::kRandom));
    EXPECT_GT(std::set<uint8_t>(first.begin(), first.end()).size(), 8u);
    ASSERT_EQ(setUpBoard(CrystalCastles), kBoardOk);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(read(ccPort::kRandom), first[std::size_t(i)]);
}

// Renderers.
struct AtariPictures : ::testing::Test {
    ScreenSurface screen{256, 256, PixelFormat::Rgb565};
    ColourTables colours;
    std::vector<uint8_t> memory = std::vector<uint8_t>(0x10000, 0);
    void SetUp() override
    {
        for (int i = 0; i < 256; ++i)
            colours.colour16[0][std::size_t(i)] = uint16_t(0x1000 + i);
    }
    uint16_t at(int x, int y) const
    {
        uint16_t v;
        std::memcpy(&v, screen.pixels() + std::size_t(y) * std::size_t(screen.pitch()) + 2 * std::size_t(x), 2);
        return v;
    }
};

TEST_F(AtariPictures, CastlesBitmapBytesGiveTwoPixelsLowNibbleFirst)
{
    screen.fill(0xFFFF);
    memory[kBitmapStart] = 0x21;
    renderCrystalCastles(screen, colours, memory.data(), memory.data() + kSpriteBufferClear, nullptr);
    EXPECT_EQ(at(0, 16), colours.colour16[0][1]);
    EXPECT_EQ(at(1, 16), colours.colour16[0][2]);
    EXPECT_EQ(at(2, 16), colours.colour16[0][0]);
    EXPECT_EQ(at(5, 15), 0); // the border lines are cleared
    EXPECT_EQ(at(5, 240), 0);
}

TEST_F(AtariPictures, CastlesSpritesNeedACodeAndAPosition)
{
    GraphicsSheet sheet;
    sheet.units = 2;
    sheet.pixels.assign(kUnitBytes * 2, 0);
    for (int code : {0, 1})
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 8; ++column)
                sheet.pixels[std::size_t(row) * kSheetWidth + std::size_t(code * 8 + column)] = uint8_t(column ? 7 : 0);
    uint8_t* sprites = memory.data() + kSpriteBufferClear;
    const uint8_t entries[][4] = {{0, 100, 0, 20}, {1, 0, 0, 0}, {1, 100, 0, 60}};
    std::memcpy(sprites, entries, sizeof entries);
    renderCrystalCastles(screen, colours, memory.data(), sprites, &sheet);
    EXPECT_EQ(at(21, 132), colours.colour16[0][0]); // code 0: not drawn
    EXPECT_EQ(at(1, 232), colours.colour16[0][0]);  // position 0, 0: not drawn
    EXPECT_EQ(at(61, 132), colours.colour16[0][7]); // top line 232 - 100
    EXPECT_EQ(at(67, 147), colours.colour16[0][7]);
    EXPECT_EQ(at(60, 132), colours.colour16[0][0]); // pen 0 is transparent
    EXPECT_EQ(at(61, 148), colours.colour16[0][0]);
}

TEST_F(AtariPictures, TunnelHuntBitsLightSinglePixelsBottomUp)
{
    memory[0x0C00] = 0x01;
    memory[0x0C00 + 32 * 5 + 2] = 0x80; // column 5, row 255 - 16 - 7
    renderTunnelHunt(screen, pixelLayoutOf(PixelFormat::Rgb565), memory.data());
    int lit = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            lit += at(x, y) != 0;
    EXPECT_EQ(lit, 2);
    EXPECT_EQ(at(0, 255), 0xFFFF);
    EXPECT_EQ(at(5, 232), 0xFFFF);

    ScreenSurface indexed(256, 256, PixelFormat::Indexed8);
    renderTunnelHunt(indexed, pixelLayoutOf(PixelFormat::Indexed8), memory.data());
    EXPECT_EQ(indexed.pixels()[255 * 256], 0xFF);
    EXPECT_EQ(indexed.pixels()[255 * 256 + 1], 0);
}

} // namespace
} // namespace vortastr::test
