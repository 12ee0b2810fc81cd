// Runs arbitrary code from an arbitrary register file: the engine must stay inside its
// 1 MB block and every slice must end.
#include "cpu/cpu_kind.h"
#include "v30_engine.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using namespace vortastr;
    using namespace vortastr::v30;
    static CpuMemory block = CpuMemory::allocate(CpuV30);
    static V30Engine engine;
    if (size < v30ContextRecordSize)
        return 0;
    std::memset(block.data(), 0, block.size);
    engine.reset(block.data());
    V30Context context = engine.context();
    deserialize(data, context);
    engine.loadContext(context);
    // The rest is the code at CS:IP, repeated over the code segment, and the bytes the
    // other segments point at.
    const uint8_t* code = data + v30ContextRecordSize;
    std::size_t codeSize = size - v30ContextRecordSize;
    if (codeSize > 0) {
        for (uint32_t i = 0; i < 0x10000; ++i) {
            uint8_t b = code[i % codeSize];
            block.data()[(context.segmentBase[CS] + ((context.ip + i) & 0xFFFF)) & 0xFFFFF] = b;
            block.data()[(context.segmentBase[DS] + i) & 0xFFFFF] ^= b;
        }
    }
    engine.setPortHandlers([](uint16_t port) { return uint8_t(port); }, [](uint16_t, uint8_t) {});
    for (int slice = 0; slice < 4; ++slice) {
        engine.execute(2000);
        engine.requestInterrupt(uint32_t(slice + 8));
    }
    return 0;
}
