// Emulated 6809 cycles per second of host time, on a loop that mixes loads and stores through
// page pointers and through handlers, 8- and 16-bit arithmetic, MUL, stack traffic and branches.
// The budget per execute is one 2 MHz frame slice (34133 cycles), as the boards hand it out.
#include "m6809_engine.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace vortastr;

namespace {

uint8_t* benchBase = nullptr;
uint8_t ioLatch = 0;

uint8_t ioRead(uint16_t address) { return uint8_t(ioLatch + address); }

uint8_t* ioWrite(uint8_t value, uint16_t)
{
    ioLatch = value;
    return benchBase;
}

uint8_t* romWrite(uint8_t, uint16_t) { return benchBase; }

// 14 instructions and 66 cycles per pass of the inner loop.
const uint8_t program[] = {
    0x10, 0xCE, 0x3F, 0x00, // 8000 LDS #$3F00
    0x8E, 0x10, 0x00,       // 8004 LDX #$1000
    0x10, 0x8E, 0x00, 0x40, // 8007 LDY #$0040
    0xA6, 0x80,             // 800B LDA ,X+
    0x8B, 0x11,             // 800D ADDA #$11
    0xB7, 0x40, 0x00,       // 800F STA $4000      (handler)
    0xB6, 0x40, 0x01,       // 8012 LDA $4001      (handler)
    0xA8, 0x84,             // 8015 EORA ,X
    0xA7, 0x88, 0x20,       // 8017 STA $20,X
    0xEC, 0x88, 0x10,       // 801A LDD $10,X
    0xC3, 0x01, 0x23,       // 801D ADDD #$0123
    0xED, 0x88, 0x30,       // 8020 STD $30,X
    0x3D,                   // 8023 MUL
    0x34, 0x06,             // 8024 PSHS A,B
    0x35, 0x06,             // 8026 PULS A,B
    0x31, 0x3F,             // 8028 LEAY -1,Y
    0x26, 0xDF,             // 802A BNE $800B
    0x7E, 0x80, 0x04,       // 802C JMP $8004
};
constexpr double instructionsPerCycle = 14.0 / 66.0;

void BM_M6809MixedLoop(benchmark::State& state)
{
    std::vector<uint8_t> block(0x20000);
    benchBase = block.data();
    std::copy(std::begin(program), std::end(program), block.begin() + 0x8000);
    block[0xFFFE] = 0x80;
    block[0xFFFF] = 0x00;
    std::copy(block.begin(), block.begin() + 0x10000, block.begin() + m6809OpcodeImage);

    M6809Context context;
    m6809MapPages(context, 0x00, 0x3F, block.data(), block.data());
    m6809MapHandlers(context, 0x40, 0x7F, &ioRead, &ioWrite);
    m6809MapPages(context, 0x80, 0xFF, block.data(), nullptr);
    m6809MapHandlers(context, 0x80, 0xFF, nullptr, &romWrite);
    context.memory = block.data();

    M6809Engine engine;
    engine.loadContext(context);
    engine.reset(block.data(), block.data() + m6809OpcodeImage);

    constexpr int32_t slice = 34133;
    int64_t cycles = 0;
    for (auto _ : state) {
        const int32_t before = engine.counter;
        const int32_t after = engine.execute(slice);
        cycles += int64_t(slice) + before - after;
        benchmark::DoNotOptimize(after);
    }
    if (engine.state.pc < 0x8004 || engine.state.pc >= 0x8000 + sizeof program)
        state.SkipWithError("the loop left its code");
    state.counters["cycles/s"] = benchmark::Counter(double(cycles), benchmark::Counter::kIsRate);
    state.counters["instr/s"] = benchmark::Counter(double(cycles) * instructionsPerCycle, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_M6809MixedLoop);

} // namespace

BENCHMARK_MAIN();
