#include "boards/rom_audit.h"

#include "boards/rom_files.h"
#include "boards/rom_sets.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <iomanip>
#include <sstream>

namespace vortastr {
namespace {

void add(std::vector<ExpectedRomFile>& files, const std::string& name, uint32_t size)
{
    if (name.empty())
        return;
    for (ExpectedRomFile& f : files) {
        if (f.name == name) {
            f.size = std::max(f.size, size);
            return;
        }
    }
    files.push_back({name, size});
}

void addPairs(std::vector<ExpectedRomFile>& files, const std::vector<RomPairLoad>& loads)
{
    for (const RomPairLoad& load : loads)
        for (const RomPair& pair : load.pairs) {
            add(files, pair.even, load.fileSize);
            add(files, pair.odd, load.fileSize);
        }
}

void addSet(std::vector<ExpectedRomFile>& files, const GraphicsSet& set, const RomPresence& present)
{
    const bool fallback = !set.fallbackProbe.empty() && present && !present(set.fallbackProbe);
    for (const DecodeStep& step : fallback ? set.fallbackSteps : set.steps)
        for (const std::string& name : step.files)
            add(files, name, step.fileSize);
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int severity(const GameAudit& a) { return a.missing > 0 ? 0 : a.wrongSize > 0 ? 1 : 2; }

std::string codeOf(GameId game)
{
    const GameInfo* info = gameInfo(game);
    return info && info->code ? info->code : "";
}

} // namespace

std::vector<ExpectedRomFile> expectedRomFiles(GameId game, const RomPresence& present)
{
    std::vector<ExpectedRomFile> files;
    const ProgramRoms program = programRoms(game);
    for (const RomListLoad& load : program.lists)
        for (const std::string& name : load.files)
            add(files, name, load.fileSize);
    const bool fallback = !program.fallbackProbe.empty() && present && !present(program.fallbackProbe);
    addPairs(files, fallback ? program.fallbackPairs : program.pairs);
    const SideBufferRoms side = sideBufferRoms(game);
    for (const std::string& name : side.files)
        add(files, name, side.fileSize);
    addSet(files, characterSet(game), present);
    addSet(files, spriteSet(game), present);
    return files;
}

GameAudit auditGame(const std::string& romFolder, GameId game)
{
    GameAudit audit;
    audit.game = game;
    const RomPresence present = [&romFolder](const std::string& name) {
        const RomLocation where = locateRom(romFolder, name);
        return where.found() && where.problem.empty();
    };
    for (const ExpectedRomFile& expected : expectedRomFiles(game, present)) {
        AuditedRomFile file{expected, RomFileStatus::Found, locateRom(romFolder, expected.name)};
        if (!file.where.found()) {
            file.status = RomFileStatus::Missing;
            ++audit.missing;
        } else if (file.where.size != expected.size) {
            file.status = RomFileStatus::WrongSize;
            ++audit.wrongSize;
        }
        audit.files.push_back(std::move(file));
    }
    return audit;
}

std::vector<GameAudit> auditGames(const std::string& romFolder, const std::vector<GameId>& games)
{
    std::vector<GameAudit> audits;
    if (!games.empty()) {
        for (GameId game : games)
            audits.push_back(auditGame(romFolder, game));
        return audits;
    }
    for (const GameInfo& info : gameCatalogue())
        if (info.romDirectory && !expectedRomFiles(info.id).empty())
            audits.push_back(auditGame(romFolder, info.id));
    return audits;
}

std::string auditVerdict(const GameAudit& audit)
{
    if (audit.complete())
        return "complete";
    std::string verdict;
    if (audit.missing > 0)
        verdict = std::to_string(audit.missing) + " missing";
    if (audit.wrongSize > 0)
        verdict += (verdict.empty() ? "" : ", ") + std::to_string(audit.wrongSize) + " wrong size";
    return verdict;
}

const char* statusText(RomFileStatus status)
{
    switch (status) {
    case RomFileStatus::Found: return "found";
    case RomFileStatus::WrongSize: return "wrong size";
    case RomFileStatus::Missing: break;
    }
    return "missing";
}

std::string placeText(const RomLocation& where)
{
    switch (where.place) {
    case RomPlace::Folder: return "folder";
    case RomPlace::Archive: return where.archiveName;
    case RomPlace::Missing: break;
    }
    return "";
}

std::string auditGameName(GameId game)
{
    const GameInfo* info = gameInfo(game);
    if (!info)
        return std::to_string(game);
    return info->title ? info->title : info->romDirectory ? info->romDirectory : std::to_string(game);
}

void sortAudits(std::vector<GameAudit>& audits, AuditOrder order)
{
    std::stable_sort(audits.begin(), audits.end(), [order](const GameAudit& a, const GameAudit& b) {
        if (order == AuditOrder::IncompleteFirst && severity(a) != severity(b))
            return severity(a) < severity(b);
        return lower(auditGameName(a.game)) < lower(auditGameName(b.game));
    });
}

std::string auditSummary(const std::vector<GameAudit>& audits)
{
    const auto complete = std::count_if(audits.begin(), audits.end(), [](const GameAudit& a) { return a.complete(); });
    return std::to_string(audits.size()) + (audits.size() == 1 ? " set: " : " sets: ") + std::to_string(complete) +
           " complete, " + std::to_string(audits.size() - static_cast<std::size_t>(complete)) + " incomplete";
}

std::string auditReportText(const std::vector<GameAudit>& audits)
{
    std::ostringstream out;
    for (const GameAudit& audit : audits) {
        const std::string code = codeOf(audit.game);
        out << std::left << std::setw(4) << (code.empty() ? "--" : code) << auditGameName(audit.game) << ": "
            << auditVerdict(audit) << '\n';
        for (const AuditedRomFile& file : audit.files) {
            out << "    " << std::left << std::setw(28) << hostRomName(file.expected.name) << std::right << std::setw(8)
                << file.expected.size << "  " << statusText(file.status);
            if (file.status == RomFileStatus::WrongSize)
                out << " (" << file.where.size << " bytes)";
            if (file.where.found())
                out << " in " << placeText(file.where);
            else if (!file.where.problem.empty())
                out << " (" << file.where.problem << ")";
            out << '\n';
        }
    }
    out << auditSummary(audits) << '\n';
    return out.str();
}

std::string auditReportJson(const std::vector<GameAudit>& audits)
{
    nlohmann::ordered_json games = nlohmann::ordered_json::array();
    std::size_t complete = 0;
    for (const GameAudit& audit : audits) {
        nlohmann::ordered_json files = nlohmann::ordered_json::array();
        for (const AuditedRomFile& file : audit.files) {
            nlohmann::ordered_json f;
            f["name"] = hostRomName(file.expected.name);
            f["expectedSize"] = file.expected.size;
            f["status"] = statusText(file.status);
            if (file.where.found()) {
                f["where"] = file.where.place == RomPlace::Folder ? "folder" : "archive";
                f["path"] = file.where.path;
                if (file.where.place == RomPlace::Archive)
                    f["member"] = file.where.member;
                f["size"] = file.where.size;
            } else if (!file.where.problem.empty()) {
                f["problem"] = file.where.problem;
            }
            files.push_back(std::move(f));
        }
        nlohmann::ordered_json g;
        g["game"] = audit.game;
        g["code"] = codeOf(audit.game);
        g["name"] = auditGameName(audit.game);
        g["verdict"] = auditVerdict(audit);
        g["complete"] = audit.complete();
        g["missing"] = audit.missing;
        g["wrongSize"] = audit.wrongSize;
        g["files"] = std::move(files);
        games.push_back(std::move(g));
        complete += audit.complete() ? 1 : 0;
    }
    nlohmann::ordered_json report;
    report["games"] = std::move(games);
    report["summary"] = {{"sets", audits.size()}, {"complete", complete}, {"incomplete", audits.size() - complete}};
    // Names come from the file system: replace bytes that are not UTF-8 rather than throw.
    return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace vortastr
