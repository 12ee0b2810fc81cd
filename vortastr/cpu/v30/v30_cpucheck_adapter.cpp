// cpucheck adapter for the V30 engine: runs the 8086 single-instruction vectors and
// self-checking programs loaded into the 1 MB address space.
#include "cpu/cpu_kind.h"
#include "cpu_check_adapter.h"
#include "v30_engine.h"
#include "v30_flags.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <map>
#include <set>

namespace vortastr::v30 {

namespace {

using cpucheck::CaseResult;
using cpucheck::SkipEntry;

// What metadata.json says about one vector file.
struct OpcodeInfo {
    std::string status = "normal";
    uint16_t flagsMask = 0xFFFF;
};

// The explicit pass-over list beyond the forms metadata.json marks alias or undefined.
const std::map<std::string, std::string>& fixedSkips()
{
    static const std::map<std::string, std::string> skips = {
        {"D0.6", "undocumented on the 8086 (sets all bits); a shift left here"},
        {"D1.6", "undocumented on the 8086 (sets all bits); a shift left here"},
        {"D2.6", "undocumented on the 8086 (sets all bits); a shift left here"},
        {"D3.6", "undocumented on the 8086 (sets all bits); a shift left here"},
        {"0F", "POP CS on the 8086, the prefix of the V30 bit and decimal instructions here"},
        {"D6", "undocumented on the 8086; not implemented here (spins)"},
        {"F1", "a LOCK alias on the 8086; not implemented here (spins)"},
    };
    return skips;
}

const std::set<std::string> aliasOn8086ButNot186 = {"60", "61", "62", "68", "69", "6A", "6B", "6C",
                                                    "6D", "6E", "6F", "C0", "C1", "C8", "C9"};
const std::set<std::string> unimplementedHere = {"63",   "64",   "65",   "66",   "67",   "82.0", "82.1",
                                                 "82.2", "82.3", "82.4", "82.5", "82.6", "82.7"};

uint16_t regValue(const nlohmann::json& regs, const char* name, uint16_t fallback)
{
    return regs.contains(name) ? uint16_t(regs[name].get<uint32_t>()) : fallback;
}

constexpr std::array<const char*, 8> wordRegisterNames = {"ax", "cx", "dx", "bx", "sp", "bp", "si", "di"};
constexpr std::array<const char*, 4> segmentNames = {"es", "cs", "ss", "ds"};

// Loads the vectors' initial state into an engine on a flat 1 MB memory.
class VectorMachine {
public:
    VectorMachine() : memory_(CpuMemory::allocate(CpuV30)) {}

    void load(const nlohmann::json& initial)
    {
        std::memset(memory_.data(), 0, memory_.size);
        const auto& regs = initial.at("regs");
        engine_.reset(memory_.data());
        V30Context& c = engine_.context();
        for (int r = 0; r < 8; ++r)
            c.reg[r] = regValue(regs, wordRegisterNames[r], 0);
        for (int i = 0; i < 4; ++i)
            c.setSegment(i, regValue(regs, segmentNames[i], 0));
        c.ip = regValue(regs, "ip", 0);
        decomposeFlags(c, regValue(regs, "flags", 0));
        for (const auto& cell : initial.at("ram"))
            memory_.data()[cell[0].get<uint32_t>() & addressMask] = uint8_t(cell[1].get<uint32_t>());
    }

    V30Engine& engine() { return engine_; }
    const uint8_t* memory() const { return memory_.data(); }
    std::size_t size() const { return memory_.size; }

private:
    CpuMemory memory_;
    V30Engine engine_;
};

// The bytes of the instruction at CS:IP, found in the case's initial RAM.
std::vector<uint8_t> instructionBytes(const nlohmann::json& initial)
{
    const auto& regs = initial.at("regs");
    uint32_t cs = regs.value("cs", 0u), ip = regs.value("ip", 0u);
    std::map<uint32_t, uint8_t> ram;
    for (const auto& cell : initial.at("ram"))
        ram[cell[0].get<uint32_t>()] = uint8_t(cell[1].get<uint32_t>());
    std::vector<uint8_t> bytes;
    for (uint32_t i = 0; i < 8; ++i) {
        auto it = ram.find(((cs << 4) + ((ip + i) & 0xFFFF)) & addressMask);
        if (it == ram.end())
            break;
        bytes.push_back(it->second);
    }
    return bytes;
}

bool hasRepeatPrefix(const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes) {
        if (b == 0xF2 || b == 0xF3)
            return true;
        if (b != 0x26 && b != 0x2E && b != 0x36 && b != 0x3E && b != 0xF0)
            return false;
    }
    return false;
}

class V30CheckAdapter : public cpucheck::CpuCheckAdapter {
public:
    std::vector<SkipEntry> skipList() const override
    {
        std::vector<SkipEntry> list = {
            {"forms marked alias or undefined in metadata.json", "no defined 8086 behaviour to compare with"},
            {"60-6F, C0, C1, C8, C9", "8086 aliases of other opcodes; 80186 instructions here"},
            {"63-67, 82", "not implemented here (IP stays on the opcode)"},
            {"F6.7, F7.7 with a REP prefix", "the 8086 negates the quotient of a repeated IDIV"},
        };
        for (const auto& [what, reason] : fixedSkips())
            list.push_back({what, reason});
        return list;
    }

    void beginFolder(const std::filesystem::path& folder) override
    {
        info_.clear();
        std::ifstream in(folder / "metadata.json");
        if (!in)
            return;
        nlohmann::json meta = nlohmann::json::parse(in, nullptr, false);
        if (meta.is_discarded() || !meta.contains("opcodes"))
            return;
        for (const auto& [opcode, entry] : meta["opcodes"].items()) {
            if (entry.contains("reg")) {
                for (const auto& [reg, sub] : entry["reg"].items())
                    info_[opcode + "." + reg] = infoOf(sub);
            } else {
                info_[opcode] = infoOf(entry);
            }
        }
    }

    std::optional<std::string> skipReason(std::string_view fileStem, const nlohmann::json& testCase) const override
    {
        std::string stem = upper(fileStem);
        if (auto it = fixedSkips().find(stem); it != fixedSkips().end())
            return it->second;
        if (aliasOn8086ButNot186.count(stem))
            return "an 8086 alias; an 80186 instruction here";
        if (unimplementedHere.count(stem))
            return "not implemented here";
        const OpcodeInfo& info = infoFor(stem);
        if (info.status == "alias" || info.status == "undefined")
            return "marked " + info.status + " in metadata.json";
        if ((stem == "F6.7" || stem == "F7.7") && testCase.contains("initial") &&
            hasRepeatPrefix(instructionBytes(testCase["initial"])))
            return "the 8086 negates the quotient of a repeated IDIV";
        return std::nullopt;
    }

    CaseResult runCase(std::string_view fileStem, const nlohmann::json& testCase) override
    {
        CaseResult result;
        const auto& initial = testCase.at("initial");
        const auto& final = testCase.at("final");
        machine_.load(initial);
        machine_.engine().execute(1); // one instruction: every one costs at least a cycle

        const auto& before = initial.at("regs");
        const auto& after = final.at("regs");
        auto expected = [&](const char* name) { return regValue(after, name, regValue(before, name, 0)); };
        const V30Context& c = machine_.engine().context();
        for (int r = 0; r < 8; ++r)
            result.compare(wordRegisterNames[r], expected(wordRegisterNames[r]), c.reg[r]);
        for (int i = 0; i < 4; ++i)
            result.compare(segmentNames[i], expected(segmentNames[i]), c.segment[i]);
        result.compare("ip", expected("ip"), c.ip);
        const uint16_t flagsMask = infoFor(upper(fileStem)).flagsMask & flagsDefined;
        result.compare("flags", expected("flags") & flagsMask, composeFlags(c) & flagsMask);

        // A fault that pushed the flags (a divide error) pushed the undefined bits too.
        std::set<uint32_t> maskedFlagBytes;
        uint16_t spBefore = regValue(before, "sp", 0), spAfter = expected("sp");
        if (flagsMask != (0xFFFF & flagsDefined) && uint16_t(spBefore - spAfter) == 6 && after.contains("cs")) {
            uint32_t ss = uint32_t(expected("ss")) << 4;
            maskedFlagBytes = {(ss + ((spAfter + 4) & 0xFFFF)) & addressMask,
                               (ss + ((spAfter + 5) & 0xFFFF)) & addressMask};
        }
        std::vector<uint32_t> known;
        std::map<uint32_t, uint8_t> expectedRam;
        for (const auto& cell : initial.at("ram"))
            known.push_back(cell[0].get<uint32_t>() & addressMask);
        for (const auto& cell : final.at("ram"))
            expectedRam[cell[0].get<uint32_t>() & addressMask] = uint8_t(cell[1].get<uint32_t>());
        const uint8_t* mem = machine_.memory();
        for (const auto& [address, value] : expectedRam) {
            known.push_back(address);
            uint8_t mask = 0xFF;
            if (maskedFlagBytes.count(address))
                mask = uint8_t(address == *maskedFlagBytes.begin() ? flagsMask : flagsMask >> 8);
            result.compare("ram[" + std::to_string(address) + "]", value & mask, mem[address] & mask);
        }
        // Writes outside every address the case names.
        std::sort(known.begin(), known.end());
        static const uint8_t zeroPage[4096] = {};
        for (std::size_t page = 0; page < machine_.size(); page += sizeof zeroPage) {
            if (std::memcmp(mem + page, zeroPage, sizeof zeroPage) == 0)
                continue;
            for (std::size_t a = page; a < page + sizeof zeroPage; ++a) {
                if (mem[a] != 0 && !std::binary_search(known.begin(), known.end(), uint32_t(a)))
                    result.compare("ram[" + std::to_string(a) + "] (not in the case)", 0, mem[a]);
            }
        }
        return result;
    }

    std::unique_ptr<cpucheck::ProgramMachine> makeProgramMachine(const cpucheck::ProgramOptions&) override;

private:
    static OpcodeInfo infoOf(const nlohmann::json& entry)
    {
        OpcodeInfo info;
        info.status = entry.value("status", std::string("normal"));
        info.flagsMask = uint16_t(entry.value("flags-mask", 0xFFFFu));
        return info;
    }
    const OpcodeInfo& infoFor(const std::string& stem) const
    {
        static const OpcodeInfo normal;
        auto it = info_.find(stem);
        return it == info_.end() ? normal : it->second;
    }
    static std::string upper(std::string_view text)
    {
        std::string out(text);
        for (char& ch : out)
            ch = char(std::toupper(static_cast<unsigned char>(ch)));
        return out;
    }

    std::map<std::string, OpcodeInfo> info_;
    VectorMachine machine_;
};

// A V30 on its own 1 MB memory, with 256 ports that read back what was last written to them
// (so programs can test IN, OUT, INS and OUTS), run one instruction per step.
class V30ProgramMachine : public cpucheck::ProgramMachine {
public:
    V30ProgramMachine() : memory_(CpuMemory::allocate(CpuV30))
    {
        ports().fill(0xFF);
        engine_.setPortHandlers([](uint16_t port) { return ports()[port & 0xFF]; },
                                [](uint16_t port, uint8_t value) { ports()[port & 0xFF] = value; });
    }
    uint8_t* memory() override { return memory_.data(); }
    std::size_t memorySize() const override { return memory_.size; }
    void start(std::optional<uint32_t> startAddress) override
    {
        engine_.reset(memory_.data());
        halted_ = false;
        if (startAddress) {
            engine_.context().setSegment(CS, uint16_t((*startAddress & addressMask) >> 4));
            engine_.context().ip = *startAddress & 0xF;
        }
    }
    bool startSegmented(uint16_t segment, uint16_t offset) override
    {
        engine_.reset(memory_.data());
        halted_ = false;
        engine_.context().setSegment(CS, segment);
        engine_.context().ip = offset;
        return true;
    }
    void step() override
    {
        halted_ = nextIsHalt();
        engine_.execute(1);
    }
    uint32_t programCounter() const override
    {
        const V30Context& c = engine_.context();
        return (c.segmentBase[CS] + c.ip) & addressMask;
    }
    bool halted() const override { return halted_; }

private:
    // The port latches are process-wide because the board functions are plain functions.
    static std::array<uint8_t, 256>& ports()
    {
        static std::array<uint8_t, 256> latches;
        return latches;
    }
    bool nextIsHalt() const
    {
        const V30Context& c = engine_.context();
        for (uint32_t i = 0; i < 16; ++i) {
            uint8_t b = memory_.data()[(c.segmentBase[CS] + ((c.ip + i) & 0xFFFF)) & addressMask];
            if (b == 0xF4)
                return true;
            if (b != 0x26 && b != 0x2E && b != 0x36 && b != 0x3E && b != 0xF0 && b != 0xF2 && b != 0xF3)
                return false;
        }
        return false;
    }

    CpuMemory memory_;
    V30Engine engine_;
    bool halted_ = false;
};

std::unique_ptr<cpucheck::ProgramMachine> V30CheckAdapter::makeProgramMachine(const cpucheck::ProgramOptions&)
{
    return std::make_unique<V30ProgramMachine>();
}

} // namespace

} // namespace vortastr::v30

using V30CheckAdapterType = vortastr::v30::V30CheckAdapter;
REGISTER_CPU_CHECK_ADAPTER("v30", V30CheckAdapterType);
