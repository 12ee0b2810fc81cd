#include "m6809_test_machine.h"

namespace vortastr::test {

M6809TestMachine::M6809TestMachine() : block(0x20000), engine(std::make_unique<M6809Engine>())
{
    m6809MapPages(context, 0, 255, block.data(), block.data());
    context.memory = block.data();
}

void M6809TestMachine::load(uint16_t address, std::initializer_list<uint8_t> bytes)
{
    for (uint8_t value : bytes) {
        block[address] = value;
        block[m6809OpcodeImage + address] = value;
        ++address;
    }
}

void M6809TestMachine::setWord(uint16_t address, uint16_t value)
{
    block[address] = uint8_t(value >> 8);
    block[uint16_t(address + 1)] = uint8_t(value);
}

uint16_t M6809TestMachine::word(uint16_t address) const
{
    return uint16_t(block[address] << 8 | block[uint16_t(address + 1)]);
}

void M6809TestMachine::start(uint16_t pc)
{
    engine->loadContext(context);
    engine->reset(block.data(), block.data() + m6809OpcodeImage);
    engine->state.pc = pc;
}

int32_t M6809TestMachine::cyclesOf(uint16_t pc)
{
    engine->state.pc = pc;
    engine->counter = 0;
    return 1 - engine->execute(1);
}

} // namespace vortastr::test
