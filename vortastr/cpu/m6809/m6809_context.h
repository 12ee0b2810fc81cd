#pragma once
// The saved state of one 6809 processor: registers, pending interrupts, the four page
// tables through which data reads and writes are dispatched, and the processor's memory
// block. Boards fill the tables; the engine copies the record in and out around a slice.
#include <cstdint>

namespace vortastr {

// Reads the byte at a 16-bit address that no page pointer covers.
using M6809ReadHandler = uint8_t (*)(uint16_t address);
// Writes a byte that no page pointer covers; returns the memory base the engine uses from
// then on (normally the running processor's own block).
using M6809WriteHandler = uint8_t* (*)(uint8_t value, uint16_t address);

// Bits of `pendingInterrupts`.
constexpr uint16_t m6809IrqBit = 0x02;
constexpr uint16_t m6809NmiBit = 0x04;
constexpr uint16_t m6809FirqBit = 0x20;
constexpr uint16_t m6809InterruptBits = m6809IrqBit | m6809NmiBit | m6809FirqBit;

// Offset of the opcode image inside a 6809 memory block.
constexpr uint32_t m6809OpcodeImage = 0x10000;

struct M6809Context {
    uint8_t a = 0, b = 0, dp = 0;
    uint8_t cc = 0x50; // published layout: E F H I N Z V C
    uint16_t x = 0, y = 0, u = 0, s = 0, pc = 0;
    uint16_t pendingInterrupts = 0;
    // Entry p covers addresses p*256 .. p*256+255; a null page sends the access to the handler.
    const uint8_t* readPage[256] = {};
    M6809ReadHandler readHandler[256] = {};
    uint8_t* writePage[256] = {};
    M6809WriteHandler writeHandler[256] = {};
    // Start of the slot's block; set when the slot is registered, never written back by saveContext.
    uint8_t* memory = nullptr;
    // Set by CWAI until an interrupt is taken. Kept per processor so that a CWAI on one
    // 6809 of a board does not stall the other.
    bool waiting = false;
};

// Points pages first..last straight at `bytes` (offset p*256 for page p). Either pointer may be
// null to leave that direction to the handlers.
void m6809MapPages(M6809Context& context, unsigned firstPage, unsigned lastPage, const uint8_t* readBytes,
                   uint8_t* writeBytes);

// Routes pages first..last to handlers (their page pointers become null). A null handler
// leaves that direction as it was.
void m6809MapHandlers(M6809Context& context, unsigned firstPage, unsigned lastPage, M6809ReadHandler read,
                      M6809WriteHandler write);

} // namespace vortastr
