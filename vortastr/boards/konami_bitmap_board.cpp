#include "boards/konami_bitmap_board.h"

#include "cpu/m6809/m6809_engine.h"

#include <cstring>

namespace vortastr {
namespace {

constexpr uint16_t kVideoRamEnd = 0x8000;

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

} // namespace

void buildNibbleSwap(std::array<uint8_t, 256>& table)
{
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<uint8_t>((i >> 4) | ((i << 4) & 0xF0));
}

void mapKonamiBitmapBoard(Board& b)
{
    M6809Context& t = m6809Engine().state;
    const bool vorta = b.game != Tutankham;
    const M6809ReadHandler read = vorta ? vortaStrikeRead : tutankhamRead;
    const M6809WriteHandler write = vorta ? vortaStrikeWrite : tutankhamWrite;
    uint8_t* memory = b.data();
    m6809MapPages(t, 0x00, 0x7F, memory, memory);
    m6809MapHandlers(t, 0x80, 0x87, read, write);
    m6809MapPages(t, 0x88, 0x9F, memory, memory);
    // ROM reads are direct; writes go through the board, whose default stores the byte.
    m6809MapPages(t, 0xA0, 0xFF, memory, nullptr);
    for (unsigned page = 0xA0; page <= 0xFF; ++page)
        t.writeHandler[page] = write;
    b.ownTables = true;
}

uint8_t* storeByteWrite(uint8_t value, uint16_t address) { return store(value, address); }

void vortaStrikeSelectBank(Board& b, uint8_t bank)
{
    const std::size_t offset = std::size_t(bank) * kBankSize;
    // Banks past the decrypted copy (12 and up) leave the window as it is.
    if (offset + kBankSize > b.bankBuffer.size() || offset + kBankSize > b.decryptedBanks.size())
        return;
    b.romBank = bank;
    std::memcpy(b.data() + kBankWindow, b.bankBuffer.data() + offset, kBankSize);
    std::memcpy(b.data() + m6809OpcodeImage + kBankWindow, b.decryptedBanks.data() + offset, kBankSize);
}

void tutankhamSelectBank(Board& b, uint8_t value)
{
    int bank = value & 0x0F;
    if (bank > 9)
        bank = 9;
    const std::size_t offset = std::size_t(bank) * kBankSize;
    b.romBank = bank;
    if (offset + kBankSize > b.bankBuffer.size())
        return;
    std::memcpy(b.data() + kBankWindow, b.bankBuffer.data() + offset, kBankSize);
    // The banks hold code too: the opcode image must see the same bytes, or a routine in a
    // bank would run with the opcodes of the bank that was in the window at game start.
    if (b.size() >= m6809OpcodeImage + kBankWindow + kBankSize)
        std::memcpy(b.data() + m6809OpcodeImage + kBankWindow, b.bankBuffer.data() + offset, kBankSize);
}

void runBlitter(Board& b)
{
    uint8_t* memory = b.data();
    const uint8_t r0 = memory[0x8070], r1 = memory[0x8071], r2 = memory[0x8072], r3 = memory[0x8073];
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
            const uint8_t s = from < kBlitterDataSize && at < b.bankBuffer.size() ? b.bankBuffer[at] : 0;
            if (draw) {
                if (s)
                    memory[to] = b.nibbleSwap[s];
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
    case 0x8010: return notDip(true);
    case 0x8020: return systemPort();
    case 0x8024: return player1Port(false);
    case 0x8028: return player2Port(false);
    case 0x802C: return notDip(false);
    default: return memoryByte(address);
    }
}

uint8_t* vortaStrikeWrite(uint8_t value, uint16_t address)
{
    Board& b = board();
    switch (address) {
    case 0x8030: setInterruptEnable(value); break;
    case 0x8050: soundCommand(value); break;
    case 0x8060: vortaStrikeSelectBank(b, value); break;
    case 0x8073:
        store(value, address);
        runBlitter(b);
        break;
    default: store(value, address); break;
    }
    return b.data();
}

uint8_t tutankhamRead(uint16_t address)
{
    if (address >= 0x8800 && address <= 0x9FFF)
        return memoryByte(address);
    switch (address) {
    case 0x8160: return notDip(true);
    case 0x8180: return systemPort();
    case 0x81A0: return player1Port(true);
    case 0x81C0: return player2Port(true);
    case 0x81E0: return notDip(false);
    default: return memoryByte(address);
    }
}

uint8_t* tutankhamWrite(uint8_t value, uint16_t address)
{
    Board& b = board();
    switch (address) {
    case 0x8100: b.scroll = value; break;
    case 0x8200: setInterruptEnable(value); break;
    case 0x8300: tutankhamSelectBank(b, value); break;
    case 0x8700: soundCommand(value); break;
    default: store(value, address); break;
    }
    return b.data();
}

} // namespace vortastr
