// Random programs and register files through the engine: pages mixed between direct pointers
// and handlers (one of which moves the memory base, one answers null), random pending bits and
// budgets. Anything outside the memory block or any undefined behaviour is a finding.
#include "m6809_engine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace vortastr;

namespace {

uint8_t* blocks[2] = {};
int nextBlock = 0;

uint8_t fuzzRead(uint16_t address) { return uint8_t(address * 13); }

uint8_t* fuzzWrite(uint8_t value, uint16_t address)
{
    if (value == 0xA5)
        return nullptr; // a faulty handler answering null
    if ((address & 0x0F) == 0x0F)
        nextBlock ^= 1; // bank switch to the other block
    blocks[nextBlock][address] = value;
    return blocks[nextBlock];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 17)
        return 0;
    static std::vector<uint8_t> memory[2] = {std::vector<uint8_t>(0x20000), std::vector<uint8_t>(0x20000)};
    blocks[0] = memory[0].data();
    blocks[1] = memory[1].data();
    nextBlock = 0;
    // Both images of both blocks: the input's tail over and over (filled by doubling).
    std::vector<uint8_t>& first = memory[0];
    std::size_t filled = std::min(size - 16, first.size());
    std::memcpy(first.data(), data + 16, filled);
    while (filled < first.size()) {
        const std::size_t more = std::min(filled, first.size() - filled);
        std::memcpy(first.data() + filled, first.data(), more);
        filled += more;
    }
    memory[1] = first;

    M6809Context context;
    const uint8_t handlerPages = data[0];
    for (unsigned p = 0; p < 256; ++p) {
        if ((p & 0x0F) == (handlerPages & 0x0F))
            m6809MapHandlers(context, p, p, &fuzzRead, &fuzzWrite);
        else
            m6809MapPages(context, p, p, blocks[0], blocks[0]);
    }
    context.memory = blocks[0];
    context.a = data[1];
    context.b = data[2];
    context.dp = data[3];
    context.cc = data[4];
    context.x = uint16_t(data[5] << 8 | data[6]);
    context.y = uint16_t(data[7] << 8 | data[8]);
    context.s = uint16_t(data[9] << 8 | data[10]);
    context.pc = uint16_t(data[11] << 8 | data[12]);
    context.pendingInterrupts = uint16_t(data[13] << 8 | data[14]);

    static M6809Engine engine;
    engine.loadContext(context);
    engine.counter = 0;
    for (int slice = 0; slice < 4; ++slice) {
        engine.execute(200 + data[15]);
        engine.state.pendingInterrupts ^= uint16_t(data[15] & 0x26);
    }
    return 0;
}
