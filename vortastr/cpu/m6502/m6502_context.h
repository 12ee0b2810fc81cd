#pragma once
// The 6502's context record and the range lists that route data accesses to board handlers.
#include <cstddef>
#include <cstdint>

namespace vortastr {

// Returns the byte at a board address the handler claims.
using M6502ReadHandler = uint8_t (*)(uint16_t address);
// Takes a write to a claimed address. Returns non-zero when it moved the context's memory base
// (a bank switch); the engine then reloads the base and fetches on from the new block.
using M6502WriteHandler = int (*)(uint16_t address, uint8_t value);

// Range list entries, searched first to last; the first with low <= address <= high wins and an
// entry whose low address is 0xFFFF ends the list.
struct M6502ReadEntry {
    uint16_t low;
    uint16_t high;
    M6502ReadHandler handler;
};

struct M6502WriteEntry {
    uint16_t low;
    uint16_t high;
    M6502WriteHandler handler;
};

constexpr uint16_t m6502ListEnd = 0xFFFF;

// Status register bits (N V - B D I Z C).
enum M6502Flag : uint8_t {
    m6502C = 0x01,
    m6502Z = 0x02,
    m6502I = 0x04,
    m6502D = 0x08,
    m6502B = 0x10,
    m6502U = 0x20, // unused, reads as 1
    m6502V = 0x40,
    m6502N = 0x80,
};

// The one 6502 of a board. The board set-up writes the memory base and the two list pointers
// directly; the engine works on this record in place. A null list is an empty list.
struct M6502Context {
    uint8_t* memory; // the 64 KB block, offset = address
    const M6502ReadEntry* readList;
    const M6502WriteEntry* writeList;
    uint32_t cycleTotal; // published cycles of every instruction, 7 per interrupt
    uint8_t a;
    uint8_t p;
    uint16_t pc;
    uint8_t x;
    uint8_t y;
    uint8_t s;             // stack at 0x0100 + s
    uint8_t lastOpcode;    // the opcode of the last instruction executed
    uint8_t nmiInProgress; // set when an NMI is taken, cleared by RTI
    uint8_t reserved[7];   // carried along, never used
};

// The fields keep their order; with 4-byte pointers the record is the 32 bytes boards expect.
static_assert(offsetof(M6502Context, readList) == 1 * sizeof(void*));
static_assert(offsetof(M6502Context, writeList) == 2 * sizeof(void*));
static_assert(offsetof(M6502Context, cycleTotal) == 3 * sizeof(void*));
static_assert(offsetof(M6502Context, a) - offsetof(M6502Context, cycleTotal) == 4);
static_assert(offsetof(M6502Context, p) - offsetof(M6502Context, cycleTotal) == 5);
static_assert(offsetof(M6502Context, pc) - offsetof(M6502Context, cycleTotal) == 6);
static_assert(offsetof(M6502Context, x) - offsetof(M6502Context, cycleTotal) == 8);
static_assert(offsetof(M6502Context, y) - offsetof(M6502Context, cycleTotal) == 9);
static_assert(offsetof(M6502Context, s) - offsetof(M6502Context, cycleTotal) == 10);
static_assert(offsetof(M6502Context, lastOpcode) - offsetof(M6502Context, cycleTotal) == 11);
static_assert(offsetof(M6502Context, nmiInProgress) - offsetof(M6502Context, cycleTotal) == 12);
static_assert(offsetof(M6502Context, reserved) - offsetof(M6502Context, cycleTotal) == 13);
static_assert(sizeof(void*) != 4 || sizeof(M6502Context) == 32);

} // namespace vortastr
