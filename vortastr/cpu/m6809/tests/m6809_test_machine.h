#pragma once
// A 6809 with a 128 KB block whose pages are all direct, for the engine tests. Programs are
// written into both images; the registers are set on the engine after start().
#include "m6809_engine.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace vortastr::test {

struct M6809TestMachine {
    M6809TestMachine();

    // Writes bytes at `address` into the data and the opcode image.
    void load(uint16_t address, std::initializer_list<uint8_t> bytes);
    void setWord(uint16_t address, uint16_t value); // data image only
    uint16_t word(uint16_t address) const;          // data image only

    // Loads the context into the engine, resets it (PC from 0xFFFE) and puts PC at `pc`.
    void start(uint16_t pc);
    // The cycles one instruction at `pc` costs from a zero counter (the engine state is kept).
    int32_t cyclesOf(uint16_t pc);

    M6809Engine& cpu() { return *engine; }
    M6809Context& regs() { return engine->state; }
    uint8_t* data() { return block.data(); }

    std::vector<uint8_t> block;
    M6809Context context;
    std::unique_ptr<M6809Engine> engine;
};

} // namespace vortastr::test
