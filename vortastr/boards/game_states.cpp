#include "boards/game_states.h"

#include "boards/board.h"
#include "boards/file_commit.h"
#include "boards/game_catalogue.h"
#include "boards/game_files.h"
#include "boards/rom_files.h"
#include "boards/rtype_save_file.h"
#include "boards/saved_state.h"

#include <filesystem>

namespace vortastr {
namespace {

// Far above any board's state (1 MB of memory and a few records).
constexpr std::size_t kLargestStateFile = 4u << 20;

bool hasRawSaveFile(GameId game) { return rtypeSaveFileName(game) != nullptr; }

// The V30 record of slot 0 and the board's memory, when the board has them.
v30::V30Context* rawContext(Board& b)
{
    if (b.kind != CpuV30 || b.slots.cpuCount < 1 || !b.data())
        return nullptr;
    return &b.slots.slot[0].v30;
}

} // namespace

std::string stateFileName(GameId game)
{
    const GameInfo* info = gameInfo(game);
    if (!info || !info->romDirectory)
        return {};
    // A game without a code of its own (the bootleg) is named after its folder.
    const std::string stem = info->code ? info->code : info->romDirectory;
    return std::string(info->romDirectory) + "\\" + stem + ".state";
}

int saveStateFile(const std::string& path, const ColourTables& colours, std::string& warning)
{
    const Board& b = board();
    if (!b.data())
        return kStateNothing;
    std::string error;
    if (!commitFile(path, encodeSavedState(b, colours), error)) {
        warning = "The state could not be saved: " + error;
        return kStateRefused;
    }
    return kStateDone;
}

int loadStateFile(const std::string& path, ColourTables& colours, std::string& warning)
{
    std::string bytes;
    if (!readWholeFile(path, kLargestStateFile, bytes)) {
        warning = "Couldn't open the saved state \"" + path + "\".";
        return kStateRefused;
    }
    std::string reason;
    const std::span file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (bytes.size() > kLargestStateFile || !decodeSavedState(file, board(), colours, reason)) {
        if (reason.empty())
            reason = "it is larger than any saved state";
        warning = "The saved state \"" + path + "\" was not loaded: " + reason + ". The game goes on.";
        return kStateRefused;
    }
    return kStateDone;
}

int saveGameState(GameId game, const ColourTables& colours, std::string& warning)
{
    Board& b = board();
    if (b.game != game || !b.data())
        return kStateNothing;
    if (hasRawSaveFile(game)) {
        const v30::V30Context* context = rawContext(b);
        std::string error;
        if (!context)
            return kStateNothing;
        if (!saveRTypeFile(game, *context, std::span<const uint8_t>(b.data(), b.size()), error)) {
            warning = "The state could not be saved: " + error;
            return kStateRefused;
        }
        return kStateDone;
    }
    const std::string name = stateFileName(game);
    return name.empty() ? kStateNothing : saveStateFile(gameFilePath(name), colours, warning);
}

int loadGameState(GameId game, ColourTables& colours, std::string& warning)
{
    Board& b = board();
    if (b.game != game || !b.data())
        return kStateNothing;
    if (hasRawSaveFile(game)) {
        v30::V30Context* context = rawContext(b);
        return context && loadRTypeFile(game, *context, std::span<uint8_t>(b.data(), b.size())) ? kStateDone
                                                                                                : kStateNothing;
    }
    const std::string name = stateFileName(game);
    std::error_code ec;
    if (name.empty() || !std::filesystem::exists(resolveRomPath(name), ec))
        return kStateNothing; // F8 before any F7: nothing to load
    return loadStateFile(resolveRomPath(name), colours, warning);
}

} // namespace vortastr
