#pragma once
// The audit of the ROM sets: for each game every file its loader reads, with the size the ROM
// tables give, checked against what is in the game's folder or archive. Reading nothing but
// directories and archive directories, it never loads a game.
#include "boards/game_catalogue.h"
#include "boards/rom_source.h"

#include <functional>
#include <string>
#include <vector>

namespace vortastr {

struct ExpectedRomFile {
    std::string name;  // "vorta\VSA_B9.BIN"
    uint32_t size = 0; // the largest size any table reads it with
};

// Whether a file can be opened; decides between a set and its alternative the way the loader
// does (the loader tries the first file of the usual set without a message).
using RomPresence = std::function<bool(const std::string& name)>;

// Every file the game's program ROMs, side buffer, character and sprite sets read, once each
// in load order. Where a set has an alternative, `present` chooses; without it the usual set.
std::vector<ExpectedRomFile> expectedRomFiles(GameId game, const RomPresence& present = {});

enum class RomFileStatus { Found, Missing, WrongSize };

struct AuditedRomFile {
    ExpectedRomFile expected;
    RomFileStatus status = RomFileStatus::Missing;
    RomLocation where;
};

struct GameAudit {
    GameId game = NoGame;
    std::vector<AuditedRomFile> files;
    int missing = 0;
    int wrongSize = 0;
    bool complete() const { return missing == 0 && wrongSize == 0; }
};

GameAudit auditGame(const std::string& romFolder, GameId game);
// The games in the order given; every game that has a ROM set when `games` is empty.
std::vector<GameAudit> auditGames(const std::string& romFolder, const std::vector<GameId>& games = {});

// "complete", "2 missing", "1 wrong size", "2 missing, 1 wrong size".
std::string auditVerdict(const GameAudit& audit);
// "found", "missing", "wrong size".
const char* statusText(RomFileStatus status);
// "folder", the archive's file name, or "" for a missing file.
std::string placeText(const RomLocation& where);
// The game's name as the audit shows it: its title, or its ROM folder when it has none.
std::string auditGameName(GameId game);

enum class AuditOrder { ByGame, IncompleteFirst };
// ByGame: by name without regard to case. IncompleteFirst: sets with missing files first,
// then sets with wrong sizes, then complete ones, each group by name.
void sortAudits(std::vector<GameAudit>& audits, AuditOrder order);

// The audit as text: a verdict line per game followed by its files, then a summary line.
std::string auditReportText(const std::vector<GameAudit>& audits);
// The same as a JSON document.
std::string auditReportJson(const std::vector<GameAudit>& audits);
// "3 sets: 1 complete, 2 incomplete".
std::string auditSummary(const std::vector<GameAudit>& audits);

} // namespace vortastr
