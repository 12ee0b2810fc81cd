// cpucheck adapter for Z80Engine: runs the single-instruction vectors on a flat 64 KB machine
// with the case's port values behind a port list, and runs self-checking programs, with the
// CP/M conventions (BDOS output at 0x0005, exit by a jump to 0x0000) when asked.
#include "cpu_check_adapter.h"
#include "z80_cycles.h"
#include "z80_engine.h"

#include "cpu/cpu_kind.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace vortastr::cpucheck {

namespace {

constexpr uint8_t comparedFlags = 0xD7; // bits 5 and 3 are not modelled

const char* const reasonEdMissing =
    "ED opcode not implemented (block input/output, mirror encodings, undocumented no-ops); it ends the slice";
const char* const reasonLdAIR = "LD A,I / LD A,R: P/V comes from the interrupt-in-service count, R is not "
                                "counted per instruction";
const char* const reasonBlockRepeat = "repeats run to the end in one step; the vector records one iteration";
const char* const reasonPrefixOnly = "DD/FD before an instruction that does not use IX/IY ends the slice; the "
                                     "next slice runs the instruction unprefixed";
const char* const reasonIndexBitMissing =
    "undocumented indexed bit operation (SLL, or a copy into a register): not implemented";
const char* const reasonRetnIff = "RETN/RETI with IFF1 != IFF2: the engine keeps one enable flag and does "
                                  "not restore it from IFF2";

bool parseHexByte(std::string_view text, uint8_t& value)
{
    if (text.size() != 2)
        return false;
    unsigned v = 0;
    for (char ch : text) {
        v <<= 4;
        if (ch >= '0' && ch <= '9')
            v |= unsigned(ch - '0');
        else if (ch >= 'a' && ch <= 'f')
            v |= unsigned(ch - 'a' + 10);
        else if (ch >= 'A' && ch <= 'F')
            v |= unsigned(ch - 'A' + 10);
        else
            return false;
    }
    value = uint8_t(v);
    return true;
}

// The opcodes of a cost grid that are (or are not) implemented, in hex; `cbIsAPage` leaves out
// 0xCB where it leads to a page of its own.
std::string hexList(const uint8_t* table, bool wantImplemented, bool cbIsAPage = false)
{
    std::string list;
    for (int op = 0; op < 256; ++op) {
        if ((table[op] != 0) != wantImplemented || (cbIsAPage && op == 0xCB))
            continue;
        char text[4];
        std::snprintf(text, sizeof text, "%02x", op);
        list += list.empty() ? "" : " ";
        list += text;
    }
    return list;
}

class Z80CheckAdapter : public CpuCheckAdapter {
public:
    Z80CheckAdapter() : block(CpuMemory::allocate(CpuZ80))
    {
        inputList[0] = {0x0000, 0xFFFF, &Z80CheckAdapter::portRead, this};
        inputList[1] = {z80ListEnd, z80ListEnd, nullptr, nullptr};
        outputList[0] = {0x0000, 0xFFFF, &Z80CheckAdapter::portWrite, this};
        outputList[1] = {z80ListEnd, z80ListEnd, nullptr, nullptr};
    }

    std::vector<SkipEntry> skipList() const override
    {
        return {
            {"ed_" + hexList(z80::edCycles, false), reasonEdMissing},
            {"ed_57 ed_5f", reasonLdAIR},
            {"ed_b0 ed_b1 ed_b8 ed_b9", reasonBlockRepeat},
            {"ed_45 ed_4d (cases with iff1 != iff2)", reasonRetnIff},
            {"dd_/fd_ " + hexList(z80::indexCycles, false, true), reasonPrefixOnly},
            {"dd_cb/fd_cb operations other than " + hexList(z80::indexBitCycles, true), reasonIndexBitMissing},
        };
    }

    std::optional<std::string> skipReason(std::string_view stem, const nlohmann::json& testCase) const override
    {
        uint8_t op = 0;
        if (stem.size() == 5 && stem.substr(0, 3) == "ed_" && parseHexByte(stem.substr(3), op)) {
            if (z80::edCycles[op] == 0)
                return reasonEdMissing;
            if (op == 0x57 || op == 0x5F)
                return reasonLdAIR;
            if (op == 0xB0 || op == 0xB1 || op == 0xB8 || op == 0xB9)
                return reasonBlockRepeat;
            if (op == 0x45 || op == 0x4D) {
                const auto& initial = testCase["initial"];
                if (initial.value("iff1", 0) != initial.value("iff2", 0))
                    return reasonRetnIff;
            }
            return std::nullopt;
        }
        bool indexPage = stem.substr(0, 3) == "dd_" || stem.substr(0, 3) == "fd_";
        if (indexPage && stem.size() == 5 && parseHexByte(stem.substr(3), op) && z80::indexCycles[op] == 0)
            return reasonPrefixOnly;
        if (indexPage && stem.size() == 11 && stem.substr(3, 6) == "cb____" && parseHexByte(stem.substr(9), op) &&
            z80::indexBitCycles[op] == 0)
            return reasonIndexBitMissing;
        return std::nullopt;
    }

    CaseResult runCase(std::string_view, const nlohmann::json& testCase) override
    {
        const auto& initial = testCase["initial"];
        const auto& expected = testCase["final"];
        result = CaseResult{};
        std::memset(block.data(), 0, block.size);
        for (const auto& cell : initial["ram"])
            block.data()[cell[0].get<uint32_t>() & 0xFFFF] = cell[1].get<uint8_t>();
        ports = testCase.contains("ports") ? testCase["ports"] : nlohmann::json::array();
        nextPort = 0;

        Z80Context context;
        context.memory = block.data();
        context.inputList = inputList;
        context.outputList = outputList;
        auto pair = [&](const char* high, const char* low) {
            return uint16_t(initial[high].get<unsigned>() << 8 | initial[low].get<unsigned>());
        };
        context.af = pair("a", "f");
        context.bc = pair("b", "c");
        context.de = pair("d", "e");
        context.hl = pair("h", "l");
        context.afAlt = initial["af_"].get<uint16_t>();
        context.bcAlt = initial["bc_"].get<uint16_t>();
        context.deAlt = initial["de_"].get<uint16_t>();
        context.hlAlt = initial["hl_"].get<uint16_t>();
        context.ix = initial["ix"].get<uint16_t>();
        context.iy = initial["iy"].get<uint16_t>();
        context.sp = initial["sp"].get<uint16_t>();
        context.pc = initial["pc"].get<uint16_t>();
        context.i = initial["i"].get<uint8_t>();
        context.r = initial["r"].get<uint8_t>();
        context.interruptMode = initial["im"].get<uint32_t>();
        context.iff = initial["iff1"].get<uint32_t>();

        Z80Engine::loadContext(context);
        uint32_t returned = Z80Engine::execute(0);
        Z80Engine::saveContext(context);
        if (returned != Z80Engine::sliceDone)
            result.mismatches.push_back("engine stopped on an unimplemented opcode at " + std::to_string(returned));

        auto check = [&](const char* name, unsigned actual, unsigned mask = 0xFFFF) {
            result.compare(name, expected[name].get<unsigned>() & mask, actual & mask);
        };
        check("a", context.af >> 8);
        check("f", context.af & 0xFF, comparedFlags);
        check("b", context.bc >> 8);
        check("c", context.bc & 0xFF);
        check("d", context.de >> 8);
        check("e", context.de & 0xFF);
        check("h", context.hl >> 8);
        check("l", context.hl & 0xFF);
        check("i", context.i);
        check("ix", context.ix);
        check("iy", context.iy);
        check("sp", context.sp);
        check("pc", context.pc);
        check("af_", context.afAlt);
        check("bc_", context.bcAlt);
        check("de_", context.deAlt);
        check("hl_", context.hlAlt);
        check("im", context.interruptMode);
        check("iff1", context.iff);
        for (const auto& cell : expected["ram"]) {
            uint32_t address = cell[0].get<uint32_t>() & 0xFFFF;
            result.compare("ram[" + std::to_string(address) + "]", cell[1].get<unsigned>(), block.data()[address]);
        }
        if (nextPort != ports.size())
            result.mismatches.push_back("port accesses: expected " + std::to_string(ports.size()) + ", made " +
                                        std::to_string(nextPort));
        return result;
    }

    std::unique_ptr<ProgramMachine> makeProgramMachine(const ProgramOptions& options) override;

private:
    // The next recorded port access, or nullptr (and a mismatch) when there is none or it
    // is of the other direction. An 8-bit port number is compared with the low byte only.
    const nlohmann::json* takePort(char direction, uint16_t port)
    {
        if (nextPort >= ports.size() || ports[nextPort][2].get<std::string>() != std::string(1, direction)) {
            result.mismatches.push_back(std::string("unexpected port ") + (direction == 'r' ? "read" : "write"));
            ++nextPort;
            return nullptr;
        }
        const nlohmann::json& access = ports[nextPort++];
        unsigned recorded = access[0].get<unsigned>();
        result.compare("port", port > 0xFF ? recorded : (recorded & 0xFF), port);
        return &access;
    }

    static uint8_t portRead(uint16_t port, const Z80PortInputEntry* entry)
    {
        auto* self = static_cast<Z80CheckAdapter*>(entry->user);
        const nlohmann::json* access = self->takePort('r', port);
        return access ? (*access)[1].get<uint8_t>() : 0xFF;
    }

    static void portWrite(uint16_t port, uint8_t value, const Z80PortOutputEntry* entry)
    {
        auto* self = static_cast<Z80CheckAdapter*>(entry->user);
        if (const nlohmann::json* access = self->takePort('w', port))
            self->result.compare("port value", (*access)[1].get<unsigned>(), value);
    }

    CpuMemory block;
    Z80PortInputEntry inputList[2];
    Z80PortOutputEntry outputList[2];
    nlohmann::json ports;
    std::size_t nextPort = 0;
    CaseResult result;
};

// A flat machine for --program. With CP/M conventions: the program sits at 0x100, a call to
// 0x0005 is the BDOS (functions 2 and 9 print, 0 ends), and reaching 0x0000 ends the run.
class Z80ProgramMachine : public ProgramMachine {
public:
    explicit Z80ProgramMachine(const ProgramOptions& options) : options(options), block(CpuMemory::allocate(CpuZ80))
    {
        context.memory = block.data();
    }

    uint8_t* memory() override { return block.data(); }
    std::size_t memorySize() const override { return block.size; }

    void start(std::optional<uint32_t> startAddress) override
    {
        Z80Engine::loadContext(context);
        Z80Engine::reset();
        Z80Engine::saveContext(context);
        exited = false;
        if (options.cpm) {
            uint8_t* m = block.data();
            m[0x0000] = 0x76; // never run: reaching 0 ends the program
            m[0x0005] = 0xC9; // the BDOS returns at once after its work is done here
            m[0x0006] = 0x00; // the word at 6 is the top of the program area
            m[0x0007] = 0xFF;
            context.sp = 0xFEFE; // with 0x0000 on the stack, a final RET ends the program
            m[0xFEFE] = 0x00;
            m[0xFEFF] = 0x00;
        }
        if (startAddress)
            context.pc = uint16_t(*startAddress);
    }

    void step() override
    {
        if (options.cpm && context.pc == 0x0005)
            callBdos();
        Z80Engine::loadContext(context);
        Z80Engine::execute(0);
        Z80Engine::saveContext(context);
    }

    uint32_t programCounter() const override { return context.pc; }

    bool halted() const override
    {
        if (options.cpm)
            return exited || context.pc == 0x0000;
        return context.halted != 0;
    }

private:
    void callBdos()
    {
        const uint8_t function = uint8_t(context.bc);
        const uint8_t* m = block.data();
        if (function == 0) {
            exited = true;
        } else if (function == 2) {
            print(char(context.de & 0xFF));
        } else if (function == 9) {
            uint16_t at = context.de;
            for (uint32_t n = 0; n < 0x10000 && m[at] != '$'; ++n, at = uint16_t(at + 1))
                print(char(m[at]));
        }
    }

    void print(char ch)
    {
        if (options.console)
            options.console->put(ch);
    }

    ProgramOptions options;
    CpuMemory block;
    Z80Context context;
    bool exited = false;
};

std::unique_ptr<ProgramMachine> Z80CheckAdapter::makeProgramMachine(const ProgramOptions& options)
{
    return std::make_unique<Z80ProgramMachine>(options);
}

} // namespace

REGISTER_CPU_CHECK_ADAPTER("z80", Z80CheckAdapter);

} // namespace vortastr::cpucheck
