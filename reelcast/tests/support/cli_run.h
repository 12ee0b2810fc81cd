#pragma once
// Runs the command line in the test's own process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"

namespace reelcast::test {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun runReelcast(std::vector<std::string> args)
{
    args.insert(args.begin(), "reelcast");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int status = runCli(int(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

} // namespace reelcast::test
