#include "m6809_decrypt.h"

#include "m6809_context.h"

#include <cstring>

namespace vortastr {

void buildM6809DecryptTable(M6809DecryptTable& table)
{
    for (unsigned row = 0; row < 4; ++row) {
        const uint8_t mask = uint8_t(((row & 1) ? 0x80 : 0x20) | ((row & 2) ? 0x08 : 0x02));
        for (unsigned value = 0; value < 256; ++value)
            table.row[row][value] = uint8_t(value ^ mask);
    }
}

void m6809DecryptOpcodes(const M6809DecryptTable& table, const uint8_t* data, uint8_t* opcodes, uint32_t address,
                         std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        opcodes[i] = table.row[m6809DecryptRow(address + uint32_t(i))][data[i]];
}

void m6809BuildOpcodeImage(uint8_t* memory, const M6809DecryptTable* table)
{
    if (table)
        m6809DecryptOpcodes(*table, memory, memory + m6809OpcodeImage, 0, 0x10000);
    else
        std::memcpy(memory + m6809OpcodeImage, memory, 0x10000);
}

} // namespace vortastr
