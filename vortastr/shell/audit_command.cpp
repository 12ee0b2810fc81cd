#include "shell/audit_command.h"

#include "boards/rom_audit.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

namespace vortastr {
namespace {

std::optional<GameId> gameOfCode(const std::string& code)
{
    for (const GameInfo& info : gameCatalogue())
        if (info.code && code == info.code)
            return info.id;
    return std::nullopt;
}

} // namespace

bool isAuditRequest(std::span<const std::string> args)
{
    return std::find(args.begin(), args.end(), "--audit") != args.end();
}

int runAuditCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    std::string romPath = ".";
    bool json = false;
    std::vector<GameId> games;
    auto usage = [&err](const std::string& message) {
        err << "vortastr: " << message << "\nTry 'vortastr --help' for more information.\n";
        return 2;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--audit")
            continue;
        if (arg == "--json") {
            json = true;
        } else if (arg == "--rompath") {
            if (i + 1 >= args.size())
                return usage("option '--rompath' needs a value");
            romPath = args[++i];
        } else if (arg.rfind("--rompath=", 0) == 0) {
            romPath = arg.substr(std::strlen("--rompath="));
        } else if (arg.rfind("-", 0) == 0) {
            return usage("option '" + arg + "' does not go with '--audit'");
        } else if (const auto game = gameOfCode(arg)) {
            games.push_back(*game);
        } else {
            return usage("unknown game code '" + arg + "'");
        }
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(romPath, ec)) {
        err << "vortastr: the ROM folder \"" << romPath << "\" does not exist\n";
        return 2;
    }
    const std::vector<GameAudit> audits = auditGames(romPath, games);
    out << (json ? auditReportJson(audits) : auditReportText(audits));
    out.flush();
    if (!out)
        return 1;
    const bool allComplete = std::all_of(audits.begin(), audits.end(), [](const GameAudit& a) { return a.complete(); });
    return allComplete ? 0 : 1;
}

} // namespace vortastr
