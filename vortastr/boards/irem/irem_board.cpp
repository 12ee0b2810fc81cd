#include "boards/irem/irem_board.h"

#include "boards/irem/irem_video.h"
#include "boards/rom_files.h"
#include "boards/rom_sets.h"
#include "cpu/v30/v30_engine.h"

#include <cstring>

namespace vortastr::irem {
namespace {

uint32_t poll(const Board& b, uint32_t mask) { return b.io.pollInput ? b.io.pollInput(mask) & mask : 0; }

// A joystick port: right wins over left and down over up; two buttons on bits 7 and 6.
uint8_t playerPort(uint32_t in, uint32_t right, uint32_t left, uint32_t down, uint32_t up, uint32_t button1,
                   uint32_t button2)
{
    uint8_t port = 0xFF;
    if (in & right)
        port &= ~0x01;
    else if (in & left)
        port &= ~0x02;
    if (in & down)
        port &= ~0x04;
    else if (in & up)
        port &= ~0x08;
    if (in & button1)
        port &= ~0x80;
    if (in & button2)
        port &= ~0x40;
    return port;
}

uint8_t systemPort(uint32_t in)
{
    uint8_t port = 0xFF;
    if (in & InputDigit1)
        port &= ~0x01;
    if (in & InputDigit2)
        port &= ~0x02;
    if (in & InputDigit3)
        port &= ~0x04;
    if (in & InputDigit4)
        port &= ~0x08;
    return port;
}

uint8_t notDip(const Board& b, bool second)
{
    if (!b.io.dips)
        return 0xFF;
    return static_cast<uint8_t>(~(second ? b.io.dips->b : b.io.dips->a));
}

uint16_t portWord(const IremState& s, uint16_t lowPort)
{
    return static_cast<uint16_t>((s.ports[lowPort + 1] & 0xFF) << 8 | (s.ports[lowPort] & 0xFF));
}

} // namespace

IremV30State& iremState() { return board().family.iremV30; }

uint8_t portRead(uint16_t port)
{
    const Board& b = board();
    switch (port & 0xFF) {
    case kPortPlayer1:
        return playerPort(poll(b, kPlayer1Inputs), InputRight, InputLeft, InputDown, InputUp, InputCtrl, InputShift);
    case kPortPlayer2:
        return playerPort(poll(b, kPlayer2Inputs), InputPad6, InputPad4, InputPad2, InputPad8, InputPadDecimal,
                          InputPadPlus);
    case kPortSystem: return systemPort(poll(b, kSystemInputs));
    case 3:
    case 6: return 0xFF;
    case kPortDipA: return notDip(b, false);
    case kPortDipB: return notDip(b, true);
    default: return 0;
    }
}

void portWrite(uint16_t port, uint8_t value)
{
    IremState& s = iremState();
    const uint16_t index = port & 0xFF;
    s.ports[index] = value;
    const Board& b = board();
    if (index == kPortSoundCommand && b.game == RType2 && b.io.soundCommand)
        b.io.soundCommand(b.game, value);
}

uint32_t resetVectorSource(GameId game)
{
    switch (game) {
    case RTypeJapanese:
    case RType:
    case Kengo: return 0x3FFF0;
    case DragonBreed: return 0x5FFF0;
    default: return 0x7FFF0; // RType II, RType Leo, MasterT, In The Hunt, Hero Tonma, game 38
    }
}

void copyResetVector(GameId game, uint8_t* memory, std::size_t size)
{
    const uint32_t from = resetVectorSource(game);
    if (!memory || size < kResetVector + kResetVectorBytes || from + kResetVectorBytes > size)
        return;
    std::memmove(memory + kResetVector, memory + from, kResetVectorBytes);
}

bool programFilesComplete(GameId game)
{
    const ProgramRoms roms = programRoms(game);
    const bool fallback = !roms.fallbackProbe.empty() && !openRomSilently(roms.fallbackProbe);
    for (const RomPairLoad& load : fallback ? roms.fallbackPairs : roms.pairs)
        for (const RomPair& pair : load.pairs)
            for (const std::string* name : {&pair.even, &pair.odd}) {
                const RomFile file = openRomSilently(*name);
                if (!file || file->size() < load.fileSize)
                    return false;
            }
    return true;
}

bool setUpBoard(Board& b)
{
    if (!programFilesComplete(b.game))
        return false;
    copyResetVector(b.game, b.data(), b.size());
    b.family.iremV30 = IremV30State{};
    resetIremVideo(b.game);
    v30::v30Engine().setPortHandlers(portRead, portWrite);
    const IremScreen screen = iremScreen(b.game);
    b.bitmap = true;
    b.tileColumns = screen.tileColumns;
    b.tileRows = screen.tileRows;
    // The display is 8 x tile columns by 8 x tile rows; the background the factors describe
    // (512 x 1024, Hero Tonma 512 x 2048) is the renderer's own (videoRules).
    b.widthFactor = screen.tileColumns;
    b.heightFactor = screen.tileRows;
    return true;
}

int32_t interruptRule(GameId game, Board& b)
{
    IremState& s = b.family.iremV30;
    const int32_t slice = b.currentSlice;
    switch (game) {
    case RTypeJapanese:
    case RType:
    case MasterT:
    case DragonBreed: return kVectorFrame;
    case RTypeLeo:
    case InTheHunt: return kVectorLegacy;
    case RType2:
    case Kengo:
    case HeroTonma: {
        if (slice != 0)
            return kVectorFrame;
        s.scrollWords[0] = portWord(s, kPortScrollFirstY);
        s.scrollWords[1] = portWord(s, kPortScrollFirstX);
        if (game == HeroTonma)
            return kVectorRaster;
        const uint8_t flag = kRasterFlagAddress < b.size() ? b.data()[kRasterFlagAddress] : 0;
        return flag == 0xF7 || flag == 0xF8 ? kVectorRaster : kNoInterrupt;
    }
    default: return kNoInterrupt; // game 38
    }
}

IremScreen iremScreen(GameId game)
{
    IremScreen screen;
    if (game == MasterT)
        screen.tileRows = 34;
    else if (game == InTheHunt)
        screen.tileRows = 64;
    if (game == HeroTonma)
        screen.heightFactor = 256;
    return screen;
}

} // namespace vortastr::irem
