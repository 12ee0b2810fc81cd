// The Irem test programs run on the V30 engine with the board's ports and interrupt rules, and
// the rendered picture checked pixel by pixel against the reference computed from the ROMs.
#include "boards/board.h"
#include "boards/graphics_sets.h"
#include "boards/irem/irem_board.h"
#include "boards/irem/irem_palette.h"
#include "boards/irem/irem_test_set.h"
#include "boards/irem/irem_video.h"
#include "boards/rom_files.h"
#include "boards/rom_sets.h"
#include "cpu/v30/v30_engine.h"
#include "tests/game_fixtures.h"
#include "tests/irem_reference.h"
#include "video/game_palette.h"
#include "video/graphics_sheet.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vortastr::test {
namespace {

using namespace irem;

uint32_t heldInputs = 0;
uint32_t fakePoll(uint32_t mask) { return heldInputs & mask; }
std::vector<uint8_t> soundCommands;

// A board of the family run slice by slice as the frame loop runs it.
struct IremProgramRun : ::testing::Test {
    TempFolder folder;
    testrom::RomFiles set;
    GameId game = RType;
    DisplayState display;
    ColourTables colours;

    void SetUp() override
    {
        heldInputs = 0;
        soundCommands.clear();
        romFiles().romPath = folder.str();
    }
    void TearDown() override
    {
        board() = Board{};
        romFiles().romPath = ".";
        releaseSheets();
    }
    void start(GameId which)
    {
        game = which;
        set = which == RType2 ? testset::buildRType2Set(assembledIremProgram("rtype2.bin"))
                              : testset::buildRTypeSet(assembledIremProgram("rtype.bin"));
        std::string error;
        ASSERT_TRUE(testrom::writeRomFiles(folder.str(), which == RType2 ? "rtype2" : "rtype", set, error)) << error;
        Board& b = board();
        b = Board{};
        b.game = which;
        b.memory = CpuMemory::allocate(CpuV30);
        std::memset(b.data(), 0, b.size());
        b.io.pollInput = fakePoll;
        b.io.soundCommand = [](GameId, uint8_t command) { soundCommands.push_back(command); };
        for (const RomPairLoad& load : programRoms(which).pairs)
            ASSERT_EQ(loadRomPairs({b.data(), b.size()}, load.pairs, load.address, load.fileSize), 0);
        copyResetVector(which, b.data(), b.size());
        ASSERT_EQ(loadCharacterSet(which), 0);
        ASSERT_EQ(loadSpriteSet(which), 0);
        resetIremVideo(which);
        colours.colourLookup = colourLookupOf(which).data();
        setIdentityIndexMapping(colours);
        v30::v30Engine().setPortHandlers(portRead, portWrite);
        v30::v30Engine().reset(b.data());
    }
    void frames(int count)
    {
        const int slices = game == RType2 ? 2 : 1;
        const int32_t budget = game == RType2 ? 93090 : 186181;
        for (int f = 0; f < count; ++f)
            for (int s = 0; s < slices; ++s) {
                v30::v30Engine().execute(budget);
                board().currentSlice = s;
                if (const int32_t vector = interruptRule(game, board()))
                    v30::v30Engine().requestInterrupt(uint32_t(vector));
            }
    }
    ScreenSurface render()
    {
        ScreenSurface screen(512, 256, PixelFormat::Rgb565);
        syncPaletteRam(game, display, colours, board().data());
        IremFrame frame{game,
                        board().data(),
                        board().size(),
                        &iremState(),
                        graphicsSheets().tileSheet.get(),
                        graphicsSheets().spriteSheet.get(),
                        0,
                        0};
        renderIremFrame(screen, colours, frame);
        return screen;
    }
    void expectPicture(const ScreenSurface& screen, const IremProgramState& state)
    {
        std::string report;
        EXPECT_EQ(countWrongPixels(screen, expectedIremPicture(set, state), report), 0) << report;
    }
};

TEST_F(IremProgramRun, RTypeScrollsMovesItsSpriteAndMatchesTheRoms)
{
    start(RType);
    frames(20);
    IremProgramState state = readIremProgramState(board().data(), false);
    EXPECT_EQ(state.frame, 9); // ten frames of start-up, then an interrupt a frame
    EXPECT_EQ(state.spriteW3, testset::kSpriteStartX + 256);
    expectPicture(render(), state);

    heldInputs = InputRight | InputUp;
    frames(30);
    heldInputs = InputCtrl;
    frames(140); // the split layer's y passes the wrap and x keeps moving
    state = readIremProgramState(board().data(), false);
    EXPECT_EQ(state.frame, 179);
    EXPECT_EQ(state.spriteW3, testset::kSpriteStartX + 256 + 30 * testset::kSpriteStep);
    EXPECT_EQ(state.spriteW0, testset::kSpriteStartW0 + 30 * testset::kSpriteStep);
    EXPECT_TRUE(soundCommands.empty()); // port 0 is no sound command on RType
    EXPECT_EQ(iremState().ports[0], testset::kFireSoundCommand);
    expectPicture(render(), state);
}

TEST_F(IremProgramRun, RTypeIISplitsItsSecondLayerAndSendsSoundCommands)
{
    start(RType2);
    EXPECT_EQ(resetVectorSource(RType2), 0x7FFF0u);
    frames(25);
    heldInputs = InputCtrl | InputLeft;
    frames(10);
    heldInputs = 0;
    frames(5);
    const IremProgramState state = readIremProgramState(board().data(), true);
    EXPECT_EQ(state.frame, 29);
    EXPECT_EQ(state.spriteW3, testset::kSpriteStartX + 260 - 10 * testset::kSpriteStep);
    EXPECT_EQ(soundCommands, std::vector<uint8_t>{testset::kFireSoundCommand});
    expectPicture(render(), state);
}

} // namespace
} // namespace vortastr::test
