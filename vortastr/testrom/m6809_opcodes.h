#pragma once
// 6809 opcodes and index post bytes the generated test programs use.
#include <cstdint>

namespace vortastr::testrom::m6809 {

enum : uint8_t {
    LDA_IMM = 0x86,
    LDA_EXT = 0xB6,
    STA_EXT = 0xB7,
    STB_EXT = 0xF7,
    CLRA = 0x4F,
    INC_EXT = 0x7C,
    DEC_EXT = 0x7A,
    BITA_IMM = 0x85,
    CMPA_EXT = 0xB1,
    LDB_IMM = 0xC6,
    DECB = 0x5A,
    LDX_IMM = 0x8E,
    CMPX_IMM = 0x8C,
    LDD_IMM = 0xCC,
    LDD_IDX = 0xEC,
    STD_IDX = 0xED,
    STA_IDX = 0xA7,
    ANDCC = 0x1C,
    PSHS = 0x34,
    PULS = 0x35,
    RTI = 0x3B,
    BNE = 0x26,
    BEQ = 0x27,
    BRA = 0x20,
    PREFIX10 = 0x10,
    LDS_IMM = 0xCE,  // after PREFIX10
    LDY_IMM = 0x8E,  // after PREFIX10
    CMPY_IMM = 0x8C, // after PREFIX10
};
constexpr uint8_t kPostIncrement1 = 0x80;  // ,X+
constexpr uint8_t kPostIncrement2 = 0x81;  // ,X++
constexpr uint8_t kPostIncrementY2 = 0xA1; // ,Y++

} // namespace vortastr::testrom::m6809
