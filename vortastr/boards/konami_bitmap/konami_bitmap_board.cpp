#include "boards/konami_bitmap/konami_bitmap_board.h"

#include "boards/rom_files.h"
#include "cpu/m6809/m6809_engine.h"

#include <cstring>
#include <new>

namespace vortastr::konamiBitmap {
namespace {

constexpr uint16_t kVideoRamEnd = 0x8000;
// Pages of the map (see the header's table).
constexpr unsigned kLastRamPage = 0x7F;
constexpr unsigned kFirstRegisterPage = 0x80, kLastRegisterPage = 0x87;
constexpr unsigned kFirstBankedPage = 0x88, kLastBankedPage = 0x9F; // RAM, then the bank window
constexpr unsigned kFirstRomPage = 0xA0, kLastRomPage = 0xFF;

uint8_t memoryByte(uint16_t address) { return board().data()[address]; }

uint8_t* store(uint8_t value, uint16_t address)
{
    board().data()[address] = value;
    return board().data();
}

uint32_t poll(uint32_t mask)
{
    const BoardIo& io = board().io;
    return io.pollInput ? io.pollInput(mask) & mask : 0;
}

uint8_t notDip(bool bankB)
{
    const DipBytes* dips = board().io.dips;
    if (!dips)
        return 0xFF;
    return static_cast<uint8_t>(~(bankB ? dips->b : dips->a));
}

// Start, coin and service keys; active low.
uint8_t systemPort()
{
    const uint32_t in = poll(InputDigit3 | InputDigit1 | InputDigit2);
    uint8_t port = 0xFF;
    if (in & InputDigit3)
        port &= ~0x04;
    if (in & InputDigit1)
        port &= ~0x08;
    if (in & InputDigit2)
        port &= ~0x10;
    return port;
}

// Joystick directions: left wins over right and up over down, as on the real panel.
uint8_t directions(uint32_t in, uint32_t left, uint32_t right, uint32_t up, uint32_t down)
{
    uint8_t port = 0x7F; // bit 7 always reads 0
    if (in & left)
        port &= ~0x01;
    else if (in & right)
        port &= ~0x02;
    if (in & up)
        port &= ~0x04;
    else if (in & down)
        port &= ~0x08;
    return port;
}

// Player 1: Shift fires (bit 4), Ctrl is the second button (bit 5); Space is a second fire key
// on "Vorta Strike" and a button of its own (bit 6) on Tutankham.
uint8_t player1Port(bool spaceOwnButton)
{
    const uint32_t in = poll(kPlayer1Inputs);
    uint8_t port = directions(in, InputLeft, InputRight, InputUp, InputDown);
    if (in & (spaceOwnButton ? InputShift : InputShift | InputSpace))
        port &= ~0x10;
    if (in & InputCtrl)
        port &= ~0x20;
    if (spaceOwnButton && (in & InputSpace))
        port &= ~0x40;
    return port;
}

// Player 2 on the numeric pad: plus fires and the decimal point is the second button; minus is
// a second fire key on "Vorta Strike" and a button of its own (bit 6) on Tutankham.
uint8_t player2Port(bool minusOwnButton)
{
    const uint32_t in = poll(kPlayer2Inputs);
    uint8_t port = directions(in, InputPad4, InputPad6, InputPad8, InputPad2);
    if (in & (minusOwnButton ? InputPadPlus : InputPadPlus | InputPadMinus))
        port &= ~0x10;
    if (in & InputPadDecimal)
        port &= ~0x20;
    if (minusOwnButton && (in & InputPadMinus))
        port &= ~0x40;
    return port;
}

void setInterruptEnable(uint8_t value)
{
    Board& b = board();
    if (b.io.interruptEnable)
        *b.io.interruptEnable = static_cast<uint8_t>((*b.io.interruptEnable & ~1) | (value != 0 ? 1 : 0));
    if (value == 0)
        m6809Engine().state.pendingInterrupts = 0;
}

void soundCommand(uint8_t value)
{
    const Board& b = board();
    if (b.io.soundCommand)
        b.io.soundCommand(b.game, value);
}

// Fills a vector without letting an allocation failure escape.
bool allocate(std::vector<uint8_t>& buffer, std::size_t size)
{
    try {
        buffer.assign(size, 0);
        return true;
    } catch (const std::bad_alloc&) {
        buffer.clear();
        return false;
    }
}

void setUpVortaStrikeExtras(Board& b)
{
    KonamiBitmapState& k = b.family.konamiBitmap;
    buildM6809DecryptTable(k.decryptTable);
    k.decrypting = true;
    m6809BuildOpcodeImage(b.data(), &k.decryptTable);
    b.slots.slot[0].secondImage = b.data() + m6809OpcodeImage;
    const SideBufferRoms roms = konamiBitmap::sideBufferRoms(b.game);
    if (!allocate(k.bankBuffer, roms.size) || !allocate(k.decryptedBanks, kDecryptedBankBytes))
        return;
    loadRomListInto(k.bankBuffer, roms.files, roms.fileSize);
    m6809DecryptOpcodes(k.decryptTable, k.bankBuffer.data(), k.decryptedBanks.data(), 0, kDecryptedBankBytes);
    buildNibbleSwap(k.nibbleSwap);
}

void setUpTutankhamExtras(Board& b)
{
    KonamiBitmapState& k = b.family.konamiBitmap;
    const SideBufferRoms roms = konamiBitmap::sideBufferRoms(b.game);
    if (allocate(k.bankBuffer, roms.size))
        loadRomListInto(k.bankBuffer, roms.files, roms.fileSize);
}

} // namespace

void setUpExtras(Board& b)
{
    if (b.game == Tutankham)
        setUpTutankhamExtras(b);
    else
        setUpVortaStrikeExtras(b);
}

void releaseExtras(Board& b)
{
    KonamiBitmapState& k = b.family.konamiBitmap;
    k.bankBuffer = {};
    k.decryptedBanks = {};
    k.decrypting = false;
}

int32_t interruptRule(Board& b)
{
    // Every second slice while enabled; the toggle stands still while disabled.
    if (!b.interruptsEnabled())
        return 0;
    b.interruptToggle ^= 1;
    return b.interruptToggle ? 0 : m6809AnswerIrq;
}

ProgramRoms programRoms(GameId game)
{
    ProgramRoms p;
    if (game == Tutankham)
        p.lists = {{inFolder("tutankhm", {"ra1_1i.cpu", "ra1_1h.cpu", "ra1_2h.cpu", "ra1_3h.cpu", "ra1_4h.cpu",
                                          "ra1_5h.cpu", "ra1_6h.cpu"}),
                    0x9000, 4096}};
    else if (game == VortaStrike)
        p.lists = {{inFolder("vorta", {"VSA_B9.BIN", "VSB_B10.BIN", "VSC_A10.BIN"}), 0xA000, 8192}};
    else
        p.lists = {{inFolder("vortaboot", {"VSGA.CPU", "VSGB.CPU", "VSGC.CPU"}), 0xA000, 8192}};
    return p;
}

SideBufferRoms sideBufferRoms(GameId game)
{
    if (game == Tutankham)
        return {40 * 1024,
                inFolder("tutankhm", {"ra1_1i.cpu", "ra1_2i.cpu", "ra1_3i.cpu", "ra1_4i.cpu", "ra1_5i.cpu",
                                      "ra1_6i.cpu", "ra1_7i.cpu", "ra1_8i.cpu", "ra1_9i.cpu"}),
                4096, false};
    // The bootleg takes its banks and blitter data from the original's folder.
    return {0x12000,
            inFolder("vorta", {"VSC1_A4.BIN", "VSC2_A5.BIN", "VSC3_A6.BIN", "VSC4_A7.BIN", "VSC5_A8.BIN", "VSC6_A9.BIN",
                               "VSS3_C7.BIN", "VSS4_D7.BIN", "VSS5_E7.BIN"}),
            8192, false};
}

GraphicsSet graphicsSet() { return {}; }

void buildNibbleSwap(std::array<uint8_t, 256>& table)
{
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<uint8_t>((i >> 4) | ((i << 4) & 0xF0));
}

void setUpBoard(Board& b)
{
    // The bitmap boards: 256 x 256 pixels.
    b.bitmap = true;
    b.widthFactor = 32;
    b.heightFactor = 32;
    b.defaultWrite = storeByteWrite;
    M6809Context& t = m6809Engine().state;
    const bool vorta = b.game != Tutankham;
    const M6809ReadHandler read = vorta ? vortaStrikeRead : tutankhamRead;
    const M6809WriteHandler write = vorta ? vortaStrikeWrite : tutankhamWrite;
    uint8_t* memory = b.data();
    m6809MapPages(t, 0x00, kLastRamPage, memory, memory);
    m6809MapHandlers(t, kFirstRegisterPage, kLastRegisterPage, read, write);
    m6809MapPages(t, kFirstBankedPage, kLastBankedPage, memory, memory);
    // ROM reads are direct; writes go through the board, whose default stores the byte.
    m6809MapPages(t, kFirstRomPage, kLastRomPage, memory, nullptr);
    for (unsigned page = kFirstRomPage; page <= kLastRomPage; ++page)
        t.writeHandler[page] = write;
    b.ownTables = true;
}

uint8_t* storeByteWrite(uint8_t value, uint16_t address) { return store(value, address); }

void vortaStrikeSelectBank(Board& b, uint8_t bank)
{
    const std::size_t offset = std::size_t(bank) * kBankSize;
    KonamiBitmapState& k = b.family.konamiBitmap;
    // Banks past the decrypted copy (12 and up) leave the window as it is.
    if (offset + kBankSize > k.bankBuffer.size() || offset + kBankSize > k.decryptedBanks.size())
        return;
    k.romBank = bank;
    std::memcpy(b.data() + kBankWindow, k.bankBuffer.data() + offset, kBankSize);
    std::memcpy(b.data() + m6809OpcodeImage + kBankWindow, k.decryptedBanks.data() + offset, kBankSize);
}

void tutankhamSelectBank(Board& b, uint8_t value)
{
    int bank = value & 0x0F;
    if (bank > 9)
        bank = 9;
    const std::size_t offset = std::size_t(bank) * kBankSize;
    KonamiBitmapState& k = b.family.konamiBitmap;
    k.romBank = bank;
    if (offset + kBankSize > k.bankBuffer.size())
        return;
    std::memcpy(b.data() + kBankWindow, k.bankBuffer.data() + offset, kBankSize);
    // The banks hold code too: the opcode image must see the same bytes, or a routine in a
    // bank would run with the opcodes of the bank that was in the window at game start.
    if (b.size() >= m6809OpcodeImage + kBankWindow + kBankSize)
        std::memcpy(b.data() + m6809OpcodeImage + kBankWindow, k.bankBuffer.data() + offset, kBankSize);
}

void runBlitter(Board& b)
{
    uint8_t* memory = b.data();
    const KonamiBitmapState& k = b.family.konamiBitmap;
    const uint8_t r0 = memory[vortaPort::kBlitter0], r1 = memory[vortaPort::kBlitter1];
    const uint8_t r2 = memory[vortaPort::kBlitter2], r3 = memory[vortaPort::kBlitter3];
    const uint32_t source = ((uint32_t(r2) << 8 | r3) >> 1) & 0x7FFE;
    const uint32_t destination = uint32_t(r0) * 128 + (r1 >> 1);
    const bool draw = r3 & 1;
    for (uint32_t row = 0; row < 16; ++row) {
        for (uint32_t column = 0; column < 8; ++column) {
            const uint32_t from = source + row * 8 + column;
            const uint32_t to = destination + row * 128 + column;
            // Rows past the end of the bitmap are dropped; blitter data past its ROMs read 0.
            if (to >= kVideoRamEnd)
                continue;
            const std::size_t at = kBlitterData + from;
            const uint8_t s = from < kBlitterDataSize && at < k.bankBuffer.size() ? k.bankBuffer[at] : 0;
            if (draw) {
                if (s)
                    memory[to] = k.nibbleSwap[s];
            } else {
                if (s & 0xF0)
                    memory[to] &= 0xF0;
                if (s & 0x0F)
                    memory[to] &= 0x0F;
            }
        }
    }
}

uint8_t vortaStrikeRead(uint16_t address)
{
    switch (address) {
    case vortaPort::kDipB: return notDip(true);
    case vortaPort::kSystem: return systemPort();
    case vortaPort::kPlayer1: return player1Port(false);
    case vortaPort::kPlayer2: return player2Port(false);
    case vortaPort::kDipA: return notDip(false);
    default: return memoryByte(address);
    }
}

uint8_t* vortaStrikeWrite(uint8_t value, uint16_t address)
{
    Board& b = board();
    switch (address) {
    case vortaPort::kInterruptEnable: setInterruptEnable(value); break;
    case vortaPort::kSoundCommand: soundCommand(value); break;
    case vortaPort::kBankSelect: vortaStrikeSelectBank(b, value); break;
    case vortaPort::kBlitter3:
        store(value, address);
        runBlitter(b);
        break;
    default: store(value, address); break;
    }
    return b.data();
}

uint8_t tutankhamRead(uint16_t address)
{
    switch (address) {
    case tutankhamPort::kDipB: return notDip(true);
    case tutankhamPort::kSystem: return systemPort();
    case tutankhamPort::kPlayer1: return player1Port(true);
    case tutankhamPort::kPlayer2: return player2Port(true);
    case tutankhamPort::kDipA: return notDip(false);
    default: return memoryByte(address);
    }
}

uint8_t* tutankhamWrite(uint8_t value, uint16_t address)
{
    Board& b = board();
    switch (address) {
    case tutankhamPort::kScroll: b.family.konamiBitmap.scroll = value; break;
    case tutankhamPort::kInterruptEnable: setInterruptEnable(value); break;
    case tutankhamPort::kBankSelect: tutankhamSelectBank(b, value); break;
    case tutankhamPort::kSoundCommand: soundCommand(value); break;
    default: store(value, address); break;
    }
    return b.data();
}

} // namespace vortastr::konamiBitmap
