#pragma once
// Opcode images of boards whose program ROM holds encrypted opcodes. The opcode byte at
// address a is the data byte XOR m(a), where m(a) = (0x80 if bit 1 of a, else 0x20) OR
// (0x08 if bit 3 of a, else 0x02). A board builds the table once per game and runs every
// freshly loaded or bank-switched range through it into the opcode image.
#include <cstddef>
#include <cstdint>

namespace vortastr {

struct M6809DecryptTable {
    // row[(bit 3 of a) * 2 + (bit 1 of a)][data byte] = opcode byte
    uint8_t row[4][256];
};

void buildM6809DecryptTable(M6809DecryptTable& table);

constexpr unsigned m6809DecryptRow(uint32_t address) { return ((address >> 3) & 1) * 2 + ((address >> 1) & 1); }

// Decrypts `length` bytes of `data`, which sit at processor address `address`, into `opcodes`.
void m6809DecryptOpcodes(const M6809DecryptTable& table, const uint8_t* data, uint8_t* opcodes, uint32_t address,
                         std::size_t length);

// Fills the opcode image of a 6809 block (offsets 0x10000-0x1FFFF) from its data image: a plain
// copy, or through `table` when it is given.
void m6809BuildOpcodeImage(uint8_t* memory, const M6809DecryptTable* table);

} // namespace vortastr
