// Emulated T-states per second of Z80Engine on a loop of typical game code: memory loads and
// stores through HL, DE and IX, ALU work, PUSH/POP, CALL/RET, bit tests and relative jumps.
// The target is 200 million T-states per second, a hundred times a 2 MHz board.
#include "z80_engine.h"

#include "cpu/cpu_kind.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>

using namespace vortastr;

namespace {

// clang-format off
const uint8_t loopProgram[] = {
    0x31, 0x00, 0xF0,        // 0000 LD SP,0xF000
    0xDD, 0x21, 0x00, 0xA0,  // 0003 LD IX,0xA000
    0x21, 0x00, 0x80,        // 0007 outer: LD HL,0x8000
    0x11, 0x00, 0x90,        // 000A LD DE,0x9000
    0x06, 0x00,              // 000D LD B,0
    0x7E,                    // 000F loop: LD A,(HL)
    0x80,                    // 0010 ADD A,B
    0x12,                    // 0011 LD (DE),A
    0x23,                    // 0012 INC HL
    0x13,                    // 0013 INC DE
    0xC5,                    // 0014 PUSH BC
    0xCD, 0x28, 0x00,        // 0015 CALL 0x0028
    0xC1,                    // 0018 POP BC
    0xE6, 0x3F,              // 0019 AND 0x3F
    0xDD, 0x77, 0x04,        // 001B LD (IX+4),A
    0xCB, 0x5F,              // 001E BIT 3,A
    0x28, 0x01,              // 0020 JR Z,0x0023
    0x00,                    // 0022 NOP
    0x10, 0xEA,              // 0023 DJNZ loop
    0xC3, 0x07, 0x00,        // 0025 JP outer
    0x07,                    // 0028 RLCA
    0xA9,                    // 0029 XOR C
    0xC9,                    // 002A RET
};
// clang-format on

uint8_t ignoreRead(uint16_t, const Z80MemoryReadEntry*) { return 0; }
void ignoreWrite(uint16_t, uint8_t, const Z80MemoryWriteEntry*) {}

// A board-like map: two handled ranges that the loop never touches, so every data access
// scans them before falling through to the block.
const Z80MemoryReadEntry boardReads[] = {
    {0xC000, 0xC0FF, ignoreRead, nullptr}, {0xE000, 0xE00F, ignoreRead, nullptr}, {0xFFFF, 0xFFFF, nullptr, nullptr}};
const Z80MemoryWriteEntry boardWrites[] = {
    {0xC000, 0xC0FF, ignoreWrite, nullptr}, {0xE000, 0xE00F, ignoreWrite, nullptr}, {0xFFFF, 0xFFFF, nullptr, nullptr}};

void runSlices(benchmark::State& state, bool withLists)
{
    CpuMemory block = CpuMemory::allocate(CpuZ80);
    std::copy(std::begin(loopProgram), std::end(loopProgram), block.data());
    Z80Context context;
    context.memory = block.data();
    if (withLists) {
        context.readList = boardReads;
        context.writeList = boardWrites;
    }
    Z80Engine::loadContext(context);
    Z80Engine::reset();
    const uint32_t budget = uint32_t(state.range(0));
    int64_t tStates = 0;
    for (auto _ : state) {
        if (Z80Engine::execute(budget) != Z80Engine::sliceDone) {
            state.SkipWithError("the loop met an unimplemented opcode");
            break;
        }
        tStates += Z80Engine::cyclesThisCall();
    }
    state.counters["T-states/s"] = benchmark::Counter(double(tStates), benchmark::Counter::kIsRate);
}

void BM_Z80FlatMemory(benchmark::State& state) { runSlices(state, false); }
void BM_Z80WithRangeLists(benchmark::State& state) { runSlices(state, true); }

} // namespace

// 34133 T-states is one slice of a typical board at 60 frames per second.
BENCHMARK(BM_Z80FlatMemory)->Arg(34133);
BENCHMARK(BM_Z80WithRangeLists)->Arg(34133);

BENCHMARK_MAIN();
