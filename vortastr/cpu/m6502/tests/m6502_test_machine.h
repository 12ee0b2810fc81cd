#pragma once
// A 64 KB machine around the engine's context, and handlers that forward to the block while
// logging every data access that goes through the range lists.
#include "m6502_engine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace vortastr::m6502test {

constexpr uint8_t U = m6502U, C = m6502C, Z = m6502Z, I = m6502I, D = m6502D, B = m6502B, V = m6502V, N = m6502N;

struct ListedAccess {
    bool write;
    uint16_t address;
    uint8_t value;
    bool operator==(const ListedAccess&) const = default;
};

// State of the logging handlers (plain functions cannot capture).
struct AccessLog {
    static inline uint8_t* memory = nullptr;
    static inline std::vector<ListedAccess> entries;

    static uint8_t read(uint16_t address)
    {
        entries.push_back({false, address, memory[address]});
        return memory[address];
    }
    static int write(uint16_t address, uint8_t value)
    {
        entries.push_back({true, address, value});
        memory[address] = value;
        return 0;
    }
};

// Lists that claim every address (0xFFFF cannot start an entry, but may end one).
inline const M6502ReadEntry loggingReads[] = {{0x0000, 0xFFFF, &AccessLog::read}, {m6502ListEnd, 0, nullptr}};
inline const M6502WriteEntry loggingWrites[] = {{0x0000, 0xFFFF, &AccessLog::write}, {m6502ListEnd, 0, nullptr}};

class M6502Machine : public ::testing::Test {
protected:
    void SetUp() override
    {
        M6502Engine::context = {};
        ctx().memory = mem.data();
        AccessLog::memory = mem.data();
        AccessLog::entries.clear();
    }

    static M6502Context& ctx() { return M6502Engine::context; }

    void poke(uint16_t at, std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t b : bytes)
            mem[at++] = b;
    }
    void pokeWord(uint16_t at, uint16_t word)
    {
        mem[at] = uint8_t(word);
        mem[uint16_t(at + 1)] = uint8_t(word >> 8);
    }
    // Registers for a program at `pc`; I clear, as after reset.
    void setRegisters(uint16_t pc, uint8_t a = 0, uint8_t x = 0, uint8_t y = 0, uint8_t s = 0xFF, uint8_t p = U)
    {
        ctx().pc = pc;
        ctx().a = a;
        ctx().x = x;
        ctx().y = y;
        ctx().s = s;
        ctx().p = p;
    }
    void logListedAccesses()
    {
        ctx().readList = loggingReads;
        ctx().writeList = loggingWrites;
    }

    std::vector<uint8_t> mem = std::vector<uint8_t>(0x10000);
};

} // namespace vortastr::m6502test
