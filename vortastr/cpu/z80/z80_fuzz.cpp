// libFuzzer target: arbitrary code and registers, handled ranges and ports, several slices
// with interrupts between them. Looks for memory errors and undefined behaviour in the engine.
#include "z80_engine.h"

#include "cpu/cpu_kind.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace vortastr;

namespace {

uint8_t fuzzRead(uint16_t address, const Z80MemoryReadEntry*) { return uint8_t(address * 7); }
void fuzzWrite(uint16_t, uint8_t, const Z80MemoryWriteEntry*) {}
uint8_t fuzzIn(uint16_t port, const Z80PortInputEntry*) { return uint8_t(port ^ 0x5A); }
void fuzzOut(uint16_t, uint8_t, const Z80PortOutputEntry*) {}

uint16_t word(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    constexpr std::size_t header = 32;
    if (size < header)
        return 0;
    static CpuMemory block = CpuMemory::allocate(CpuZ80);
    std::memset(block.data(), 0, block.size);

    Z80Context c;
    c.memory = block.data();
    c.af = word(data + 0);
    c.bc = word(data + 2);
    c.de = word(data + 4);
    c.hl = word(data + 6);
    c.ix = word(data + 8);
    c.iy = word(data + 10);
    c.sp = word(data + 12);
    c.pc = word(data + 14);
    c.i = data[16];
    c.r = data[17];
    c.interruptMode = data[18] % 3;
    c.iff = data[19] & 1;
    const uint16_t low = word(data + 20), high = word(data + 22);
    const Z80MemoryReadEntry reads[] = {{low, high, fuzzRead, nullptr}, {0xFFFF, 0, nullptr, nullptr}};
    const Z80MemoryWriteEntry writes[] = {{low, high, fuzzWrite, nullptr}, {0xFFFF, 0, nullptr, nullptr}};
    const Z80PortInputEntry ins[] = {{0x00, 0xFF, fuzzIn, nullptr}, {0xFFFF, 0, nullptr, nullptr}};
    const Z80PortOutputEntry outs[] = {{0x00, 0xFF, fuzzOut, nullptr}, {0xFFFF, 0, nullptr, nullptr}};
    if (data[24] & 1) {
        c.readList = reads;
        c.writeList = writes;
    }
    c.inputList = ins;
    c.outputList = outs;

    uint16_t at = c.pc;
    for (std::size_t k = header; k < size; ++k)
        block.data()[at++] = data[k];

    Z80Engine::loadContext(c);
    for (int slice = 0; slice < 4; ++slice) {
        Z80Engine::execute(uint32_t(data[25 + slice]) * 16);
        if (data[29] & (1 << slice))
            Z80Engine::irq(data[30]);
        if (data[31] & (1 << slice))
            Z80Engine::nmi();
    }
    Z80Engine::saveContext(c);
    return 0;
}
