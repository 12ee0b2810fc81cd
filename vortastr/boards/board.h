#pragma once
// The running board: what the set-up decided (processor, budget, slices, frame rate, screen),
// the processor's memory and slot, the board registers, and the links its handlers use to
// reach the rest of the emulator. One process-wide record, as the handlers are plain functions.
#include "boards/dip_tables.h"
#include "boards/input_bits.h"
#include "cpu/cpu_kind.h"
#include "cpu/cpu_slot.h"
#include "cpu/m6809/m6809_decrypt.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vortastr {

using GameId = int32_t;

// What the board's handlers reach outside the board; the shell fills it in.
struct BoardIo {
    InputPoll pollInput = nullptr;
    DirectKeyTest keyHeld = nullptr; // keys tested directly by some boards
    bool cheatMode = false;          // "-cheat": the run-button ports press themselves
    const DipBytes* dips = nullptr;
    uint8_t* interruptEnable = nullptr; // the latch of slot 0
    void (*soundCommand)(GameId game, uint8_t command) = nullptr;
};

struct Board {
    GameId game = -1;
    int32_t cpuCount = 1;
    CpuKind kind = Cpu6502;
    int32_t cyclesPerSlice = 6144;
    int32_t slicesPerFrame = 1;
    int32_t framesPerSecond = 60;
    uint16_t interruptKind = 102;
    int32_t tileColumns = 32, tileRows = 32;
    int32_t widthFactor = 1, heightFactor = 1;
    bool bitmap = false;    // the factors are absolute, in 8-pixel units
    bool ownTables = false; // the board filled the 6809 tables itself
    M6809ReadHandler defaultRead = nullptr;
    M6809WriteHandler defaultWrite = nullptr;
    int32_t visibleWidth = 256, visibleHeight = 256;

    CpuMemory memory;
    CpuSlotTable slots;

    // Registers of the Konami bitmap boards.
    std::vector<uint8_t> bankBuffer;     // banked ROMs (and, for Vorta Strike, the blitter data)
    std::vector<uint8_t> decryptedBanks; // Vorta Strike: the first 48 KB of it, opcodes decrypted
    bool decrypting = false;
    M6809DecryptTable decryptTable{};
    std::array<uint8_t, 256> nibbleSwap{};
    int32_t romBank = 0;
    uint8_t scroll = 0; // Tutankham

    // Interrupt-rule state.
    int32_t currentSlice = 0;
    uint8_t interruptToggle = 0;
    int32_t sliceCounter = 0;
    uint8_t m6502InterruptPending = 0;
    std::array<uint8_t, 4> videoIo{};     // Irem scroll bytes, written by that board's ports
    std::array<uint16_t, 2> scrollWords{}; // latched for the renderer

    BoardIo io;

    uint8_t* data() const { return memory.data(); }
    std::size_t size() const { return memory.size; }
    bool interruptsEnabled() const { return io.interruptEnable && (*io.interruptEnable & 1); }
};

Board& board();

} // namespace vortastr
