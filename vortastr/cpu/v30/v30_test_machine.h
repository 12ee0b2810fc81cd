#pragma once
// A V30 on a zeroed 1 MB block for the engine tests, with a code loader and port recorders.
#include "cpu/cpu_kind.h"
#include "v30_engine.h"
#include "v30_flags.h"

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace vortastr::v30::testing {

// Port traffic of the board functions (plain functions, so kept process-wide).
struct PortLog {
    std::vector<std::pair<uint16_t, uint8_t>> writes;
    std::vector<uint16_t> reads;
    static PortLog& get()
    {
        static PortLog log;
        return log;
    }
};

class TestMachine {
public:
    static constexpr uint16_t codeSegment = 0x1000;

    TestMachine() : block(CpuMemory::allocate(CpuV30))
    {
        engine.reset(block.data());
        PortLog::get() = {};
        engine.setPortHandlers(
            [](uint16_t port) {
                PortLog::get().reads.push_back(port);
                return uint8_t(0x40 + port); // recognisable per port
            },
            [](uint16_t port, uint8_t value) {
                PortLog::get().writes.push_back({port, value});
            });
        ctx().setSegment(CS, codeSegment);
        ctx().setSegment(SS, 0x3000);
        ctx().setSegment(DS, 0x4000);
        ctx().setSegment(ES, 0x5000);
        ctx().reg[SP] = 0x0100;
    }

    V30Context& ctx() { return engine.context(); }
    uint8_t* mem() { return block.data(); }
    uint8_t& at(uint32_t linear) { return block.data()[linear & 0xFFFFF]; }
    uint16_t word(uint32_t linear) { return uint16_t(at(linear) | at(linear + 1) << 8); }
    void setWord(uint32_t linear, uint16_t value)
    {
        at(linear) = uint8_t(value);
        at(linear + 1) = uint8_t(value >> 8);
    }

    // Places code at CS:IP, after `lead` when given.
    void code(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> lead = {})
    {
        uint32_t a = ctx().segmentBase[CS] + ctx().ip;
        for (uint8_t b : lead)
            at(a++) = b;
        for (uint8_t b : bytes)
            at(a++) = b;
    }
    // Runs exactly one instruction and returns its cycles.
    int32_t step() { return engine.execute(1); }
    uint16_t flags() { return composeFlags(ctx()); }
    uint8_t al() { return uint8_t(ctx().reg[AX]); }

    CpuMemory block;
    V30Engine engine;
};

} // namespace vortastr::v30::testing
