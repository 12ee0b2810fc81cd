#pragma once
// Processor kinds of the emulated boards and the memory block each one owns.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vortastr {

enum CpuKind : int32_t {
    Cpu6502 = 0,
    Cpu6809 = 1,
    CpuZ80 = 2,
    CpuV30 = 3,
};

// Bytes of the block a processor of each kind owns; offset n is processor address n
// (the V30's 20-bit linear address). The 6809 block holds the data image in its lower
// 64 KB and the opcode image in its upper 64 KB.
constexpr std::size_t cpuMemorySize(CpuKind kind)
{
    switch (kind) {
    case Cpu6502: return 0x10000;
    case Cpu6809: return 0x20000;
    case CpuZ80: return 0x10000;
    case CpuV30: return 0x100000;
    }
    return 0;
}

// One heap block per emulated processor, zero-filled when allocated.
struct CpuMemory {
    std::unique_ptr<uint8_t[]> bytes;
    std::size_t size = 0;

    static CpuMemory allocate(CpuKind kind)
    {
        CpuMemory block;
        block.size = cpuMemorySize(kind);
        block.bytes = std::make_unique<uint8_t[]>(block.size);
        return block;
    }
    uint8_t* data() const { return bytes.get(); }
};

} // namespace vortastr
