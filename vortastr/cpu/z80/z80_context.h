#pragma once
// The record that holds one Z80 processor: registers, interrupt state and the pointers to
// its memory block and handler lists. Swapping this record in and out of `Z80Engine`
// swaps the whole processor, so two Z80 slots can share the one engine.
#include <cstdint>

namespace vortastr {

struct Z80MemoryReadEntry;
struct Z80MemoryWriteEntry;
struct Z80PortInputEntry;
struct Z80PortOutputEntry;

// Handlers receive the entry that matched so that they can reach its user pointer.
using Z80MemoryReadHandler = uint8_t (*)(uint16_t address, const Z80MemoryReadEntry* entry);
using Z80MemoryWriteHandler = void (*)(uint16_t address, uint8_t value, const Z80MemoryWriteEntry* entry);
using Z80PortInputHandler = uint8_t (*)(uint16_t port, const Z80PortInputEntry* entry);
using Z80PortOutputHandler = void (*)(uint16_t port, uint8_t value, const Z80PortOutputEntry* entry);

// Range lists are searched first to last; the first entry with low <= value <= high wins.
// An entry whose low field (its low 16 bits for memory entries) is 0xFFFF ends the list.
constexpr uint16_t z80ListEnd = 0xFFFF;

struct Z80MemoryReadEntry {
    uint32_t low; // only the low 16 bits are compared
    uint32_t high;
    Z80MemoryReadHandler handler;
    void* user;
};

struct Z80MemoryWriteEntry {
    uint32_t low;
    uint32_t high;
    Z80MemoryWriteHandler handler;
    void* user;
};

struct Z80PortInputEntry {
    uint16_t low;
    uint16_t high;
    Z80PortInputHandler handler;
    void* user;
};

struct Z80PortOutputEntry {
    uint16_t low;
    uint16_t high;
    Z80PortOutputHandler handler;
    void* user;
};

// Field order follows the processor record the boards build; pointers are native, so the
// record is larger than its 70 bytes of a 32-bit build. It is never written to a file.
struct Z80Context {
    uint8_t* memory = nullptr;                    // the slot's 64 KB block
    const Z80MemoryReadEntry* readList = nullptr; // null: no handlers
    const Z80MemoryWriteEntry* writeList = nullptr;
    const Z80PortInputEntry* inputList = nullptr;
    const Z80PortOutputEntry* outputList = nullptr;
    uint32_t reserved = 0;      // carried along, never used
    uint32_t inService = 0;     // IRQs accepted since the last EI, DI, RETI or RETN
    uint32_t interruptMode = 0; // 0, 1 or 2
    uint32_t iff = 0;           // interrupt enable flag, 0 or 1
    uint32_t halted = 0;
    uint16_t af = 0; // A high, F low: S Z - H - P/V N C
    uint16_t bc = 0;
    uint16_t de = 0;
    uint16_t hl = 0;
    uint16_t afAlt = 0;
    uint16_t bcAlt = 0;
    uint16_t deAlt = 0;
    uint16_t hlAlt = 0;
    uint16_t ix = 0;
    uint16_t iy = 0;
    uint16_t sp = 0;
    uint16_t pc = 0;
    uint16_t nmiAddress = 0x66;
    uint16_t irqAddress = 0x38; // the board's interrupt answer: address (modes 0, 1) or data
    uint8_t i = 0;
    uint8_t r = 0;
};

} // namespace vortastr
