// cpucheck adapter for the 6502: single-instruction vectors with registers pc s a x y p and flat
// RAM, and a program machine for self-checking programs in a 64 KB image.
#include "cpu_check_adapter.h"
#include "m6502_decode.h"
#include "m6502_engine.h"

#include <cstdio>
#include <vector>

namespace vortastr::cpucheck {

namespace {

const char* const undocumentedReason = "undocumented NMOS opcode: the engine stops on it";
const char* const jumpIndirectReason =
    "JMP (ind) with its pointer at the end of a page: the engine reads the pointer as a plain "
    "word (high byte from the next page), the NMOS part wraps within the page";

const char* const registerNames[] = {"pc", "s", "a", "x", "y", "p"};

// The opcode a file stem names ("6c" or "6C"), or -1.
int opcodeOfStem(std::string_view stem)
{
    if (stem.size() != 2)
        return -1;
    int value = 0;
    for (char ch : stem) {
        int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                    : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                    : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                             : -1;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

struct MalformedCase {
    std::string what;
};

// A number of the case that must fit its register or address; anything else spoils the case.
uint32_t numberUpTo(const nlohmann::json& value, uint32_t max, const std::string& what)
{
    if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > max)
        throw MalformedCase{what + " is not a number from 0 to " + std::to_string(max)};
    return uint32_t(value.get<int64_t>());
}

uint32_t registerValue(const M6502Context& ctx, std::string_view name)
{
    if (name == "pc")
        return ctx.pc;
    if (name == "s")
        return ctx.s;
    if (name == "a")
        return ctx.a;
    if (name == "x")
        return ctx.x;
    if (name == "y")
        return ctx.y;
    return ctx.p;
}

// Flat memory: nothing is claimed by a handler.
void useFlatMemory(std::vector<uint8_t>& ram)
{
    M6502Engine::context.memory = ram.data();
    M6502Engine::context.readList = nullptr;
    M6502Engine::context.writeList = nullptr;
}

class M6502ProgramMachine : public ProgramMachine {
public:
    M6502ProgramMachine() : ram(0x10000) {}
    uint8_t* memory() override { return ram.data(); }
    std::size_t memorySize() const override { return ram.size(); }
    void start(std::optional<uint32_t> startAddress) override
    {
        useFlatMemory(ram);
        M6502Engine::reset();
        if (startAddress)
            M6502Engine::context.pc = uint16_t(*startAddress);
    }
    void step() override { M6502Engine::execute(1); }
    uint32_t programCounter() const override { return M6502Engine::context.pc; }

private:
    std::vector<uint8_t> ram;
};

class M6502CheckAdapter : public CpuCheckAdapter {
public:
    M6502CheckAdapter() : ram(0x10000) {}

    std::vector<SkipEntry> skipList() const override
    {
        std::vector<SkipEntry> list;
        std::string opcodes;
        for (int op = 0; op < 256; ++op) {
            if (m6502::decodeTable[op].op != m6502::Op::None)
                continue;
            char text[4];
            std::snprintf(text, sizeof text, "%02x", op);
            opcodes += opcodes.empty() ? "" : " ";
            opcodes += text;
        }
        list.push_back({opcodes, undocumentedReason});
        list.push_back({"6c with the pointer's low byte at 0xFF", jumpIndirectReason});
        return list;
    }

    std::optional<std::string> skipReason(std::string_view fileStem, const nlohmann::json& testCase) const override
    {
        int opcode = opcodeOfStem(fileStem);
        if (opcode >= 0 && m6502::decodeTable[opcode].op == m6502::Op::None)
            return std::string(undocumentedReason);
        if (opcode == 0x6C && pointerEndsPage(testCase))
            return std::string(jumpIndirectReason);
        return std::nullopt;
    }

    CaseResult runCase(std::string_view, const nlohmann::json& testCase) override
    {
        CaseResult result;
        try {
            const nlohmann::json& initial = testCase.at("initial");
            const nlohmann::json& final = testCase.at("final");
            std::fill(ram.begin(), ram.end(), 0);
            useFlatMemory(ram);
            M6502Context& ctx = M6502Engine::context;
            ctx.cycleTotal = 0;
            ctx.nmiInProgress = 0;
            ctx.pc = uint16_t(numberUpTo(initial.at("pc"), 0xFFFF, "pc"));
            ctx.s = uint8_t(numberUpTo(initial.at("s"), 0xFF, "s"));
            ctx.a = uint8_t(numberUpTo(initial.at("a"), 0xFF, "a"));
            ctx.x = uint8_t(numberUpTo(initial.at("x"), 0xFF, "x"));
            ctx.y = uint8_t(numberUpTo(initial.at("y"), 0xFF, "y"));
            ctx.p = uint8_t(numberUpTo(initial.at("p"), 0xFF, "p"));
            for (const auto& cell : initial.at("ram"))
                ram[numberUpTo(cell.at(0), 0xFFFF, "ram address")] = uint8_t(numberUpTo(cell.at(1), 0xFF, "ram value"));

            M6502Engine::execute(1);

            for (const char* name : registerNames)
                if (final.contains(name))
                    result.compare(name, numberUpTo(final[name], 0xFFFF, name), registerValue(ctx, name));
            for (const auto& cell : final.at("ram")) {
                uint32_t address = numberUpTo(cell.at(0), 0xFFFF, "ram address");
                char name[16];
                std::snprintf(name, sizeof name, "ram[0x%04X]", address);
                result.compare(name, numberUpTo(cell.at(1), 0xFF, "ram value"), ram[address]);
            }
        } catch (const nlohmann::json::exception& e) {
            result.mismatches.push_back(std::string("malformed case: ") + e.what());
        } catch (const MalformedCase& e) {
            result.mismatches.push_back("malformed case: " + e.what);
        }
        return result;
    }

    std::unique_ptr<ProgramMachine> makeProgramMachine(const ProgramOptions&) override
    {
        return std::make_unique<M6502ProgramMachine>();
    }

private:
    // True when the JMP (ind) pointer of the case (the bytes after the opcode) is at xxFF.
    static bool pointerEndsPage(const nlohmann::json& testCase)
    {
        try {
            const nlohmann::json& initial = testCase.at("initial");
            uint32_t pointerLow = (numberUpTo(initial.at("pc"), 0xFFFF, "pc") + 1) & 0xFFFF;
            for (const auto& cell : initial.at("ram"))
                if (numberUpTo(cell.at(0), 0xFFFF, "ram address") == pointerLow)
                    return numberUpTo(cell.at(1), 0xFF, "ram value") == 0xFF;
        } catch (const nlohmann::json::exception&) {
        } catch (const MalformedCase&) {
        }
        return false;
    }

    std::vector<uint8_t> ram;
};

} // namespace

REGISTER_CPU_CHECK_ADAPTER("6502", M6502CheckAdapter);

} // namespace vortastr::cpucheck
