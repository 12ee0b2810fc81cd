// Instructions per second of the 6502 engine on a loop of typical game code: page-zero and
// indexed loads and stores, arithmetic, a subroutine call, compares and branches. Run once on
// flat memory and once with short range lists of the size boards use (nothing matching the
// loop's data, so every data access scans the whole list).
#include "m6502_engine.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace vortastr;

// clang-format off
const uint8_t gameLoop[] = {
    0xA2, 0x00,        // 0200 LDX #0
    0xB5, 0x40,        // 0202 LDA $40,X
    0x18,              //      CLC
    0x65, 0x41,        //      ADC $41
    0x9D, 0x00, 0x03,  //      STA $0300,X
    0xBD, 0x80, 0x03,  //      LDA $0380,X
    0x29, 0x3F,        //      AND #$3F
    0xC9, 0x20,        //      CMP #$20
    0x90, 0x02,        //      BCC +2
    0xE6, 0x42,        //      INC $42
    0x20, 0x00, 0x04,  //      JSR $0400
    0xE8,              //      INX
    0xE0, 0x40,        //      CPX #$40
    0xD0, 0xE5,        //      BNE $0202
    0x4C, 0x00, 0x02,  //      JMP $0200
};
const uint8_t subroutine[] = {
    0xA4, 0x43,        // 0400 LDY $43
    0xB1, 0x44,        //      LDA ($44),Y
    0x49, 0xFF,        //      EOR #$FF
    0x91, 0x44,        //      STA ($44),Y
    0xC8,              //      INY
    0x84, 0x43,        //      STY $43
    0x60,              //      RTS
};
// clang-format on

uint8_t readPort(uint16_t address) { return uint8_t(address); }
int writePort(uint16_t, uint8_t) { return 0; }

const M6502ReadEntry boardReads[] = {{0x8000, 0x8FFF, readPort},
                                     {0x9000, 0x9003, readPort},
                                     {0x9400, 0x9401, readPort},
                                     {0x9600, 0x9600, readPort},
                                     {m6502ListEnd, 0, nullptr}};
const M6502WriteEntry boardWrites[] = {{0x9000, 0x9003, writePort},
                                       {0x9400, 0x9401, writePort},
                                       {0x9600, 0x97FF, writePort},
                                       {0x9800, 0x9800, writePort},
                                       {m6502ListEnd, 0, nullptr}};

void runGameLoop(benchmark::State& state, bool withLists)
{
    std::vector<uint8_t> memory(0x10000);
    std::copy(std::begin(gameLoop), std::end(gameLoop), memory.begin() + 0x0200);
    std::copy(std::begin(subroutine), std::end(subroutine), memory.begin() + 0x0400);
    memory[0x44] = 0x00;
    memory[0x45] = 0x05;
    memory[0xFFFC] = 0x00;
    memory[0xFFFD] = 0x02;
    M6502Engine::context = {};
    M6502Engine::context.memory = memory.data();
    M6502Engine::context.readList = withLists ? boardReads : nullptr;
    M6502Engine::context.writeList = withLists ? boardWrites : nullptr;
    M6502Engine::reset();

    const int32_t perCall = 1'000'000;
    for (auto _ : state) {
        uint32_t result = M6502Engine::execute(perCall);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * perCall);
    state.counters["cycles/instr"] = double(M6502Engine::context.cycleTotal) / (double(state.iterations()) * perCall);
}

void flatMemory(benchmark::State& state) { runGameLoop(state, false); }
void withRangeLists(benchmark::State& state) { runGameLoop(state, true); }

} // namespace

BENCHMARK(flatMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(withRangeLists)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
