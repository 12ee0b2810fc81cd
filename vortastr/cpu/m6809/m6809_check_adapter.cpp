// The 6809 engine in the conformance runner: single-instruction vectors on a flat machine (every
// page direct, the opcode image equal to the data image, one instruction from a zero counter)
// and self-checking programs.
#include "cpu_check_adapter.h"

#include "m6809_decode.h"
#include "m6809_decrypt.h"
#include "m6809_engine.h"

#include <cstdio>
#include <cstring>

namespace vortastr {
namespace {

using cpucheck::CaseResult;
using cpucheck::SkipEntry;

std::string hexByte(unsigned value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02x", value & 0xFF);
    return text;
}

// "86" -> page 1, 0x86; "10_a3" -> page 2, 0xA3. False for anything else.
bool parseStem(std::string_view stem, int& page, uint8_t& opcode)
{
    auto hex = [](std::string_view text, unsigned& value) {
        if (text.size() != 2)
            return false;
        value = 0;
        for (char ch : text) {
            int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                        : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                        : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                 : -1;
            if (digit < 0)
                return false;
            value = value * 16 + unsigned(digit);
        }
        return true;
    };
    unsigned first, second;
    if (stem.size() == 2 && hex(stem, first)) {
        page = 1;
        opcode = uint8_t(first);
        return true;
    }
    if (stem.size() == 5 && stem[2] == '_' && hex(stem.substr(0, 2), first) && hex(stem.substr(3), second) &&
        (first == 0x10 || first == 0x11)) {
        page = first == 0x10 ? 2 : 3;
        opcode = uint8_t(second);
        return true;
    }
    return false;
}

const m6809::Decode& decodeOf(int page, uint8_t opcode)
{
    return page == 1 ? m6809::page1[opcode] : page == 2 ? m6809::page2[opcode] : m6809::page3[opcode];
}

// The initial RAM byte at `address`, if the case lists it.
std::optional<uint8_t> initialByte(const nlohmann::json& testCase, unsigned address)
{
    for (const auto& cell : testCase.at("initial").at("ram"))
        if (cell.at(0).get<unsigned>() == (address & 0xFFFF))
            return uint8_t(cell.at(1).get<unsigned>());
    return std::nullopt;
}

const char* const invalidOpcodeReason = "invalid page-1 opcode: this engine stops on it with PC on the opcode";
const char* const undefinedPagedReason = "undefined page-2/3 opcode: this engine stops with PC on the second byte";
const char* const opcode3eReason = "undefined 0x3E: this engine resets the registers without cycles";
const char* const waitReason = "waits for an interrupt; a single step cannot complete it";
const char* const postByteReason = "invalid indexed post-byte: this engine abandons the instruction";
const char* const transferReason =
    "TFR/EXG post-byte mixing sizes or naming an undefined register: this engine does nothing";

class M6809CheckAdapter : public cpucheck::CpuCheckAdapter {
public:
    M6809CheckAdapter() : engine(std::make_unique<M6809Engine>()), block(0x20000) {}

    std::vector<SkipEntry> skipList() const override
    {
        std::string invalid, postBytes;
        for (unsigned op = 0; op < 256; ++op)
            if (m6809::page1[op].op == m6809::Op::Invalid)
                invalid += (invalid.empty() ? "" : " ") + hexByte(op);
        for (unsigned pb = 0x80; pb < 256; ++pb)
            if (!m6809::indexedPostByteValid(uint8_t(pb)))
                postBytes += (postBytes.empty() ? "" : " ") + hexByte(pb);
        std::vector<SkipEntry> list{{invalid, invalidOpcodeReason}};
        for (int page = 2; page <= 3; ++page) {
            std::string defined;
            for (unsigned op = 0; op < 256; ++op)
                if (decodeOf(page, uint8_t(op)).op != m6809::Op::Invalid)
                    defined += " " + hexByte(op);
            list.push_back({(page == 2 ? "10" : "11") + std::string(" xx except") + defined, undefinedPagedReason});
        }
        list.push_back({"3e", opcode3eReason});
        list.push_back({"13 (SYNC), 3c (CWAI)", waitReason});
        list.push_back({"indexed post-bytes " + postBytes, postByteReason});
        list.push_back({"1e, 1f with a post-byte outside 0-5/0-5 and 8-b/8-b", transferReason});
        return list;
    }

    std::optional<std::string> skipReason(std::string_view stem, const nlohmann::json& testCase) const override
    {
        try {
            return skipReasonOf(stem, testCase);
        } catch (const nlohmann::json::exception&) {
            return std::nullopt; // runCase reports the malformed case
        }
    }

    CaseResult runCase(std::string_view, const nlohmann::json& testCase) override
    {
        try {
            return runWellFormedCase(testCase);
        } catch (const nlohmann::json::exception& e) {
            CaseResult result;
            result.mismatches.push_back(std::string("malformed case: ") + e.what());
            return result;
        }
    }

    std::unique_ptr<cpucheck::ProgramMachine> makeProgramMachine(const cpucheck::ProgramOptions&) override;

private:
    std::optional<std::string> skipReasonOf(std::string_view stem, const nlohmann::json& testCase) const
    {
        int page;
        uint8_t opcode;
        if (!parseStem(stem, page, opcode))
            return std::nullopt;
        const m6809::Decode& d = decodeOf(page, opcode);
        switch (d.op) {
        case m6809::Op::Invalid: return std::string(page == 1 ? invalidOpcodeReason : undefinedPagedReason);
        case m6809::Op::Reset: return std::string(opcode3eReason);
        case m6809::Op::Sync:
        case m6809::Op::Cwai: return std::string(waitReason);
        default: break;
        }
        const unsigned pc = testCase.at("initial").value("pc", 0u);
        const unsigned operandAt = pc + (page == 1 ? 1 : 2);
        if (d.mode == m6809::Mode::Idx) {
            auto pb = initialByte(testCase, operandAt);
            if (pb && !m6809::indexedPostByteValid(*pb))
                return std::string(postByteReason);
        }
        if (d.op == m6809::Op::Tfr || d.op == m6809::Op::Exg) {
            auto pb = initialByte(testCase, operandAt);
            if (pb && !m6809::transferPostByteValid(*pb))
                return std::string(transferReason);
        }
        return std::nullopt;
    }

    // Throws nlohmann::json::exception when the case lacks a part or a value is not a number.
    CaseResult runWellFormedCase(const nlohmann::json& testCase)
    {
        const nlohmann::json& in = testCase.at("initial");
        std::fill(block.begin(), block.end(), 0);
        for (const auto& cell : in.at("ram")) {
            const unsigned address = cell.at(0).get<unsigned>() & 0xFFFF;
            block[address] = block[m6809OpcodeImage + address] = uint8_t(cell.at(1).get<unsigned>());
        }
        M6809Context context;
        m6809MapPages(context, 0, 255, block.data(), block.data());
        context.memory = block.data();
        context.a = uint8_t(in.value("a", 0u));
        context.b = uint8_t(in.value("b", 0u));
        context.dp = uint8_t(in.value("dp", 0u));
        context.cc = uint8_t(in.value("cc", 0u));
        context.x = uint16_t(in.value("x", 0u));
        context.y = uint16_t(in.value("y", 0u));
        context.u = uint16_t(in.value("u", 0u));
        context.s = uint16_t(in.value("s", 0u));
        context.pc = uint16_t(in.value("pc", 0u));

        engine->loadContext(context);
        engine->counter = 0;
        engine->execute(1);
        engine->saveContext(context);

        CaseResult result;
        const nlohmann::json& out = testCase.at("final");
        const std::pair<const char*, unsigned> registers[] = {{"pc", context.pc}, {"s", context.s}, {"u", context.u},
                                                              {"x", context.x},   {"y", context.y}, {"dp", context.dp},
                                                              {"a", context.a},   {"b", context.b}, {"cc", context.cc}};
        for (const auto& [name, value] : registers)
            if (out.contains(name))
                result.compare(name, out.at(name).get<unsigned>(), value);
        for (const auto& cell : out.at("ram")) {
            const unsigned address = cell.at(0).get<unsigned>() & 0xFFFF;
            result.compare("ram[" + hexByte(address >> 8) + hexByte(address) + "]", cell.at(1).get<unsigned>(),
                           block[address]);
        }
        return result;
    }

    std::unique_ptr<M6809Engine> engine;
    std::vector<uint8_t> block;
};

// Flat 64 KB for self-checking programs. Reads are direct; writes go through a handler that
// keeps the opcode image equal to the data image, so self-modifying code runs as written.
class M6809ProgramMachine : public cpucheck::ProgramMachine {
public:
    M6809ProgramMachine() : engine(std::make_unique<M6809Engine>()), block(0x20000) {}
    ~M6809ProgramMachine() override
    {
        if (running == block.data())
            running = nullptr;
    }

    uint8_t* memory() override { return block.data(); }
    std::size_t memorySize() const override { return 0x10000; }

    void start(std::optional<uint32_t> startAddress) override
    {
        running = block.data();
        m6809BuildOpcodeImage(block.data(), nullptr);
        M6809Context context;
        m6809MapPages(context, 0, 255, block.data(), nullptr);
        m6809MapHandlers(context, 0, 255, nullptr, &writeBothImages);
        context.memory = block.data();
        engine->loadContext(context);
        engine->reset(block.data(), block.data() + m6809OpcodeImage);
        if (startAddress)
            engine->state.pc = uint16_t(*startAddress);
    }

    void step() override
    {
        running = block.data();
        engine->counter = 0;
        engine->execute(1);
    }

    uint32_t programCounter() const override { return engine->state.pc; }

private:
    static uint8_t* writeBothImages(uint8_t value, uint16_t address)
    {
        running[address] = value;
        running[m6809OpcodeImage + address] = value;
        return running;
    }

    static inline uint8_t* running = nullptr;
    std::unique_ptr<M6809Engine> engine;
    std::vector<uint8_t> block;
};

std::unique_ptr<cpucheck::ProgramMachine> M6809CheckAdapter::makeProgramMachine(const cpucheck::ProgramOptions&)
{
    return std::make_unique<M6809ProgramMachine>();
}

} // namespace

REGISTER_CPU_CHECK_ADAPTER("6809", M6809CheckAdapter);

} // namespace vortastr
