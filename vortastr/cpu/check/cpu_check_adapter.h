#pragma once
// What an engine provides to the conformance runner `cpucheck`: how to run one
// single-instruction vector case, which cases it passes over and why, and a machine
// for self-checking programs. Each engine registers one adapter from its own folder
// (see REGISTER_CPU_CHECK_ADAPTER below).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace vortastr::cpucheck {

// One entry of an engine's built-in list of vectors to pass over.
struct SkipEntry {
    std::string what;   // e.g. "10_3e" or "ED 57, ED 5F"
    std::string reason; // why this engine differs from the recorded processor
};

// Differences found in one case, in the order they were found.
struct CaseResult {
    std::vector<std::string> mismatches;
    bool passed() const { return mismatches.empty(); }

    // Records "name: expected X, got Y" when the two differ.
    void compare(std::string_view name, uint64_t expected, uint64_t actual);
};

// A processor with flat memory that runs a self-checking program one instruction at a time.
class ProgramMachine {
public:
    virtual ~ProgramMachine() = default;
    virtual uint8_t* memory() = 0;
    virtual std::size_t memorySize() const = 0;
    // Resets the processor; with a start address, sets the program counter to it afterwards.
    virtual void start(std::optional<uint32_t> startAddress) = 0;
    // Resets and starts at SEGMENT:OFFSET; false for a processor without segments.
    virtual bool startSegmented(uint16_t /*segment*/, uint16_t /*offset*/) { return false; }
    // Runs one instruction (or one interrupt entry).
    virtual void step() = 0;
    // The address of the next instruction.
    virtual uint32_t programCounter() const = 0;
    // True when the processor stopped for good (HLT with nothing to wake it, a program's exit).
    virtual bool halted() const { return false; }
};

struct ProgramOptions {
    bool cpm = false;                // Z80: CP/M conventions (load at 0x100, BDOS at 5, exit at 0)
    std::ostream* console = nullptr; // where a program's own output goes
};

class CpuCheckAdapter {
public:
    virtual ~CpuCheckAdapter() = default;

    // The built-in pass-over list, printed by --list-skips.
    virtual std::vector<SkipEntry> skipList() const = 0;

    // Called once before the files of a folder run (e.g. to read its metadata.json).
    virtual void beginFolder(const std::filesystem::path& /*folder*/) {}

    // The reason to pass over this case, or nothing to run it. `fileStem` is the vector file's
    // name without ".json.gz" (e.g. "10_a3", "dd_cb____06", "D0.6").
    virtual std::optional<std::string> skipReason(std::string_view fileStem, const nlohmann::json& testCase) const = 0;

    // Loads `testCase["initial"]` into a flat machine, runs exactly one instruction and compares
    // the registers and RAM of `testCase["final"]`.
    virtual CaseResult runCase(std::string_view fileStem, const nlohmann::json& testCase) = 0;

    // A machine for --program, or nullptr when the engine has none.
    virtual std::unique_ptr<ProgramMachine> makeProgramMachine(const ProgramOptions& /*options*/) { return nullptr; }
};

using AdapterFactory = std::function<std::unique_ptr<CpuCheckAdapter>()>;

// Registers a factory under a --cpu name ("6809", "z80", "v30", "6502").
bool registerAdapter(const std::string& cpuName, AdapterFactory factory);
std::unique_ptr<CpuCheckAdapter> makeAdapter(const std::string& cpuName);
std::vector<std::string> registeredCpuNames();

} // namespace vortastr::cpucheck

// Use once at namespace scope in the adapter's .cpp, which its engine's CMakeLists adds to an
// OBJECT library named cpucheck_<engine> (so the linker keeps the registration).
#define REGISTER_CPU_CHECK_ADAPTER(cpuName, AdapterType)                                                               \
    static const bool registeredAdapter_##AdapterType = ::vortastr::cpucheck::registerAdapter(                         \
        cpuName, [] { return std::unique_ptr<::vortastr::cpucheck::CpuCheckAdapter>(new AdapterType); })
