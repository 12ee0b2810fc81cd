#pragma once
// The running board: what the set-up decided (processor, budget, slices, frame rate, screen),
// the processor's memory and slot, the interrupt-rule state, the links its handlers use to
// reach the rest of the emulator, and the registers of its family (family_states.h). One
// process-wide record, as the handlers are plain functions.
#include "boards/dip_tables.h"
#include "boards/family_states.h"
#include "boards/game_id.h"
#include "boards/input_bits.h"
#include "cpu/cpu_kind.h"
#include "cpu/cpu_slot.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vortastr {

// What the board's handlers reach outside the board; the shell fills it in.
struct BoardIo {
    InputPoll pollInput = nullptr;
    DirectKeyTest keyHeld = nullptr; // keys tested directly by some boards
    bool cheatMode = false;          // "-cheat": the run-button ports press themselves
    const DipBytes* dips = nullptr;
    uint8_t* interruptEnable = nullptr;       // the latch of slot 0
    uint8_t* secondInterruptEnable = nullptr; // the latch of slot 1, on two-processor boards
    void (*soundCommand)(GameId game, uint8_t command) = nullptr;
    // Mouse or analogue-stick motion since the last call, for trackball boards.
    void (*takeTrackballMotion)(int32_t& dx, int32_t& dy) = nullptr;
};

struct Board;
// Set-up of a board's second processor (a sub CPU with an address space of its own): fills the
// engine's tables or lists for it and the slot set-up; false when it cannot run (its ROMs are
// missing).
using SecondCpuSetUp = bool (*)(Board& board, CpuSlotSetup& setup);

struct Board {
    GameId game = NoGame;
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
    // A second processor, registered as slot 1 after slot 0 when the family's set-up names one.
    SecondCpuSetUp secondCpu = nullptr;
    CpuMemory secondMemory;

    // Interrupt-rule state.
    int32_t currentSlice = 0;
    uint8_t interruptToggle = 0;
    int32_t sliceCounter = 0;
    uint8_t m6502InterruptPending = 0;

    BoardIo io;

    // The registers of the running family; only the member of its family is used.
    FamilyStates family;

    uint8_t* data() const { return memory.data(); }
    std::size_t size() const { return memory.size; }
    bool interruptsEnabled() const { return io.interruptEnable && (*io.interruptEnable & 1); }
    bool interruptsEnabled(int32_t slot) const
    {
        const uint8_t* latch = slot == 0 ? io.interruptEnable : slot == 1 ? io.secondInterruptEnable : nullptr;
        return latch && (*latch & 1);
    }
};

Board& board();

// The running machine as a whole: the board record and the live state of every engine (the
// board set-up fills engine tables and lists before its slot takes them), each saved and
// loaded through its engine adapter. Taken before a change of game and given back when the
// new game cannot start, so the old one runs on untouched.
struct BoardSnapshot {
    Board board;
    std::array<CpuSlot, 4> engines; // indexed by CpuKind
    Z80Context z80;                 // the Z80 engine's record lives here while parked
};
BoardSnapshot takeBoard();
void restoreBoard(BoardSnapshot&& snapshot);

} // namespace vortastr
