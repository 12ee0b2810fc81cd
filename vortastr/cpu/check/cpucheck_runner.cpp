#include "cpucheck_runner.h"

#include "cpu_check_adapter.h"
#include "vector_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

namespace vortastr::cpucheck {

namespace {

constexpr int maxVerboseCasesPerFile = 3;

const char* usageText = "usage: cpucheck --cpu 6809|z80|v30|6502 [--verbose] [--no-skip] PATH...\n"
                        "       cpucheck --cpu KIND --list-skips\n"
                        "       cpucheck --cpu KIND --program FILE --load ADDR [--start ADDR] [--trap ADDR]\n"
                        "                [--dump START:LENGTH OUT] [--cpm] [--max-steps N]\n"
                        "PATH is a vector file (.json.gz) or a folder of them. Addresses take 0x or $ for hex;\n"
                        "the V30's --start also takes SEG:OFF in hex (F000:FFF0). N is a 64-bit count.\n";

struct Options {
    std::string cpu;
    bool verbose = false;
    bool noSkip = false;
    bool listSkips = false;
    bool help = false;
    bool cpm = false;
    std::string programFile;
    std::optional<uint32_t> load, start, trap;
    std::optional<std::pair<uint16_t, uint16_t>> startSegmented; // --start SEG:OFF
    std::optional<uint32_t> dumpStart, dumpLength;
    std::string dumpFile;
    uint64_t maxSteps = 4'000'000'000ull;
    std::vector<std::string> paths;
};

int usage(std::ostream& err, const std::string& problem)
{
    if (!problem.empty())
        err << "cpucheck: " << problem << "\n";
    err << usageText;
    return 2;
}

// Returns an empty string on success, else what was wrong.
std::string parseOptions(const std::vector<std::string>& args, Options& o)
{
    auto needValue = [&](std::size_t& i) -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
    auto address = [&](std::size_t& i, std::optional<uint32_t>& into) -> std::string {
        const std::string* v = needValue(i);
        uint32_t value;
        if (!v || !parseAddress(*v, value))
            return "bad or missing address after " + args[i - (v ? 1 : 0)];
        into = value;
        return {};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string problem;
        if (a == "--cpu") {
            const std::string* v = needValue(i);
            if (!v)
                return "--cpu needs a kind";
            o.cpu = *v;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--no-skip") {
            o.noSkip = true;
        } else if (a == "--list-skips") {
            o.listSkips = true;
        } else if (a == "--cpm") {
            o.cpm = true;
        } else if (a == "--program") {
            const std::string* v = needValue(i);
            if (!v)
                return "--program needs a file";
            o.programFile = *v;
        } else if (a == "--load") {
            problem = address(i, o.load);
        } else if (a == "--start") {
            uint16_t segment = 0, offset = 0;
            if (i + 1 < args.size() && parseSegmentOffset(args[i + 1], segment, offset))
                o.startSegmented = std::make_pair(segment, offset), ++i;
            else
                problem = address(i, o.start);
        } else if (a == "--trap") {
            problem = address(i, o.trap);
        } else if (a == "--max-steps") {
            const std::string* v = needValue(i);
            if (!v || !parseCount(*v, o.maxSteps))
                return "bad or missing count after --max-steps";
        } else if (a == "--dump") {
            const std::string* range = needValue(i);
            const std::string* file = needValue(i);
            if (!range || !file)
                return "--dump needs START:LENGTH and a file";
            auto colon = range->find(':');
            uint32_t s, n;
            if (colon == std::string::npos || !parseAddress(range->substr(0, colon), s) ||
                !parseAddress(range->substr(colon + 1), n))
                return "bad --dump range " + *range;
            o.dumpStart = s;
            o.dumpLength = n;
            o.dumpFile = *file;
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option " + a;
        } else {
            o.paths.push_back(a);
        }
        if (!problem.empty())
            return problem;
    }
    return {};
}

std::string hexAddress(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

int runVectors(CpuCheckAdapter& adapter, const Options& o, std::ostream& out, std::ostream& err)
{
    long passed = 0, failed = 0, skipped = 0;
    bool readError = false;
    for (const std::string& path : o.paths) {
        std::filesystem::path p(path);
        std::error_code ec;
        if (!std::filesystem::exists(p, ec)) {
            err << "cpucheck: " << path << ": no such file or folder\n";
            readError = true;
            continue;
        }
        adapter.beginFolder(std::filesystem::is_directory(p, ec) ? p : p.parent_path());
        for (const auto& file : vectorFilesIn(p)) {
            nlohmann::json cases;
            std::string error;
            if (!loadVectorFile(file, cases, error)) {
                err << "cpucheck: " << error << "\n";
                readError = true;
                continue;
            }
            const std::string stem = vectorStem(file);
            long filePassed = 0, fileFailed = 0, fileSkipped = 0;
            int reported = 0;
            for (const auto& testCase : cases) {
                if (!o.noSkip && adapter.skipReason(stem, testCase)) {
                    ++fileSkipped;
                    continue;
                }
                CaseResult result = adapter.runCase(stem, testCase);
                if (result.passed()) {
                    ++filePassed;
                    continue;
                }
                ++fileFailed;
                if (o.verbose && reported++ < maxVerboseCasesPerFile) {
                    out << "  " << stem << " case \"" << testCase.value("name", std::string("?")) << "\":\n";
                    for (const auto& m : result.mismatches)
                        out << "    " << m << "\n";
                }
            }
            out << stem << ": " << filePassed << " passed, " << fileFailed << " failed";
            if (fileSkipped)
                out << ", " << fileSkipped << " skipped";
            out << "\n";
            passed += filePassed;
            failed += fileFailed;
            skipped += fileSkipped;
        }
    }
    out << passed << " passed, " << failed << " failed";
    if (skipped)
        out << ", " << skipped << " skipped";
    out << "\n";
    return failed == 0 && !readError ? 0 : 1;
}

int runProgram(CpuCheckAdapter& adapter, const Options& o, std::ostream& out, std::ostream& err)
{
    ProgramOptions programOptions;
    programOptions.cpm = o.cpm;
    programOptions.console = &out;
    auto machine = adapter.makeProgramMachine(programOptions);
    if (!machine) {
        err << "cpucheck: the " << o.cpu << " engine has no program mode\n";
        return 2;
    }
    std::ifstream in(o.programFile, std::ios::binary);
    if (!in) {
        err << "cpucheck: cannot open " << o.programFile << "\n";
        return 1;
    }
    std::vector<char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    uint32_t load = o.load.value_or(o.cpm ? 0x100 : 0);
    if (load > machine->memorySize() || image.size() > machine->memorySize() - load) {
        err << "cpucheck: " << o.programFile << " does not fit in memory at " << hexAddress(load) << "\n";
        return 1;
    }
    std::copy(image.begin(), image.end(), machine->memory() + load);
    if (o.startSegmented) {
        if (!machine->startSegmented(o.startSegmented->first, o.startSegmented->second)) {
            err << "cpucheck: --start SEG:OFF is only for a processor with segments (v30)\n";
            return 2;
        }
    } else {
        machine->start(o.cpm ? std::optional<uint32_t>(o.start.value_or(0x100)) : o.start);
    }

    bool stopped = false;
    uint32_t where = machine->programCounter();
    for (uint64_t steps = 0; steps < o.maxSteps; ++steps) {
        uint32_t before = machine->programCounter();
        machine->step();
        where = machine->programCounter();
        if (machine->halted() || where == before) {
            stopped = true;
            break;
        }
    }
    if (o.dumpStart) {
        uint64_t end = uint64_t(*o.dumpStart) + *o.dumpLength;
        if (end > machine->memorySize()) {
            err << "cpucheck: dump range is outside memory\n";
            return 1;
        }
        std::ofstream dump(o.dumpFile, std::ios::binary);
        dump.write(reinterpret_cast<const char*>(machine->memory() + *o.dumpStart), *o.dumpLength);
        if (!dump) {
            err << "cpucheck: cannot write " << o.dumpFile << "\n";
            return 1;
        }
    }
    if (!stopped) {
        out << "no trap after " << o.maxSteps << " steps, at " << hexAddress(where) << "\n";
        return 1;
    }
    out << (machine->halted() ? "halted at " : "trapped at ") << hexAddress(where) << "\n";
    if (o.trap)
        return where == *o.trap ? 0 : 1;
    return 0;
}

} // namespace

int runCpuCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options o;
    if (std::string problem = parseOptions(args, o); !problem.empty())
        return usage(err, problem);
    if (o.help) {
        out << usageText;
        return 0;
    }
    if (o.cpu.empty())
        return usage(err, "--cpu is required");
    auto adapter = makeAdapter(o.cpu);
    if (!adapter) {
        std::string known;
        for (const auto& name : registeredCpuNames())
            known += " " + name;
        return usage(err, "no engine \"" + o.cpu + "\" in this build (built:" + known + ")");
    }
    if (o.listSkips) {
        for (const auto& entry : adapter->skipList())
            out << entry.what << ": " << entry.reason << "\n";
        return 0;
    }
    if (!o.programFile.empty())
        return runProgram(*adapter, o, out, err);
    if (o.paths.empty())
        return usage(err, "no vector file or folder given");
    return runVectors(*adapter, o, out, err);
}

} // namespace vortastr::cpucheck
