// Emulated V30 cycles per second of host time, on slices of the size a 10 MHz board uses.
#include "cpu/cpu_kind.h"
#include "v30_engine.h"

#include <benchmark/benchmark.h>

#include <initializer_list>

namespace {

using namespace vortastr;
using namespace vortastr::v30;

constexpr int32_t sliceCycles = 10'000'000 / 60 / 4; // 10 MHz, 60 frames, 4 slices a frame

// Loads `code` at F000:0000 and points the reset vector at it.
struct BenchMachine {
    BenchMachine(std::initializer_list<uint8_t> code) : block(CpuMemory::allocate(CpuV30)), size(code.size())
    {
        uint32_t at = 0xF0000;
        for (uint8_t b : code)
            block.data()[at++] = b;
        const uint8_t resetJump[] = {0xEA, 0x00, 0x00, 0x00, 0xF0};
        for (int i = 0; i < 5; ++i)
            block.data()[0xFFFF0 + i] = resetJump[i];
        engine.reset(block.data());
    }
    // True while execution stays inside the loaded code (a wrong branch would leave it).
    bool onTrack() const { return engine.context().segment[CS] == 0xF000 && engine.context().ip < size; }

    CpuMemory block;
    V30Engine engine;
    std::size_t size;
};

void runSlices(benchmark::State& state, BenchMachine& m)
{
    int64_t cycles = 0;
    for (auto _ : state)
        cycles += m.engine.execute(sliceCycles);
    if (!m.onTrack())
        state.SkipWithError("execution left the benchmark code");
    state.counters["cycles/s"] = benchmark::Counter(double(cycles), benchmark::Counter::kIsRate);
}

// A game-like mix: table walks through memory operands, ALU work on registers and memory,
// a call and return, pushes and pops, conditional branches, a short string copy.
void BM_V30MixedCode(benchmark::State& state)
{
    BenchMachine m({
        0x31, 0xC0, 0x8E, 0xD8, 0x8E, 0xC0, 0x8E, 0xD0, 0xBC, 0x00, 0x80, // segments 0, SP 8000h
        // outer: (offset 0x0B)
        0xBE, 0x00, 0x10, // MOV SI,1000h
        0xB9, 0x40, 0x00, // MOV CX,64
        // inner: (offset 0x11)
        0x8B, 0x04,             // MOV AX,[SI]
        0x03, 0x44, 0x02,       // ADD AX,[SI+2]
        0xD1, 0xE0,             // SHL AX,1
        0x89, 0x44, 0x40,       // MOV [SI+40h],AX
        0x80, 0x7C, 0x01, 0x80, // CMP byte [SI+1],80h
        0x72, 0x02,             // JB +2
        0xF7, 0xD8,             // NEG AX
        0x50,                   // PUSH AX
        0xE8, 0x0C, 0x00,       // CALL sub
        0x58,                   // POP AX
        0x46, 0x46,             // INC SI ; INC SI
        0xE2, 0xE5,             // LOOP inner
        0xB9, 0x08, 0x00,       // MOV CX,8
        0xF3, 0xA5,             // REP MOVSW
        0xEB, 0xD8,             // JMP outer
        // sub: (offset 0x33)
        0x01, 0xC3, // ADD BX,AX
        0x31, 0xDA, // XOR DX,BX
        0xC3,       // RET
    });
    runSlices(state, m);
}
BENCHMARK(BM_V30MixedCode);

// Register arithmetic and branches only: the dispatch cost without memory operands.
void BM_V30RegisterLoop(benchmark::State& state)
{
    BenchMachine m({
        0x01, 0xD8,       // loop: ADD AX,BX
        0x31, 0xCA,       // XOR DX,CX
        0x43,             // INC BX
        0xD1, 0xE9,       // SHR CX,1
        0x75, 0xF7,       // JNZ loop
        0xB9, 0xFF, 0xFF, // MOV CX,FFFFh
        0xEB, 0xF2,       // JMP loop
    });
    runSlices(state, m);
}
BENCHMARK(BM_V30RegisterLoop);

} // namespace

BENCHMARK_MAIN();
