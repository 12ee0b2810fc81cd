#include "boards/board_setup.h"

#include "boards/atari/crystal_castles_board.h"
#include "boards/atari/tunnel_hunt_board.h"
#include "boards/game_catalogue.h"
#include "boards/high_scores.h"
#include "boards/interrupt_rules.h"
#include "boards/irem/irem_board.h"
#include "boards/konami_bitmap/konami_bitmap_board.h"
#include "boards/konami_tile/iron_horse_jail_break_board.h"
#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/mega_zone_board.h"
#include "boards/konami_tile/shaolin_board.h"
#include "boards/konami_tile/whiz_quiz_board.h"
#include "boards/rom_files.h"
#include "boards/rom_sets.h"
#include "boards/scramble/scramble_board.h"
#include "cpu/m6809/m6809_engine.h"

#include <cstring>

namespace vortastr {
namespace {

// Bytes of low RAM cleared at set-up, for the boards that need it.
std::size_t lowRamToClear(GameId game)
{
    switch (game) {
    case Zoar: return 4 * 0x3000;
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return 4 * 9216;
    case TunnelHunt: return 4 * 3072;
    case CircusCharlie:
    case CircusCharlie2: return 4 * 6144;
    case JailBreak: return 4 * 8192;
    default: return 0;
    }
}

int loadProgramRoms(Board& b)
{
    const ProgramRoms roms = programRoms(b.game);
    const std::span<uint8_t> memory(b.data(), b.size());
    for (const RomListLoad& load : roms.lists)
        if (loadRomList(memory, load.files, load.address, load.fileSize) != 0)
            return kBoardRomMissing;
    const bool fallback = !roms.fallbackProbe.empty() && !openRomSilently(roms.fallbackProbe);
    for (const RomPairLoad& load : fallback ? roms.fallbackPairs : roms.pairs)
        if (loadRomPairs(memory, load.pairs, load.address, load.fileSize) != 0)
            return kBoardRomMissing;
    return kBoardOk;
}

// The family's part of the set-up: memory map, handlers and screen layout. False when the
// family finds the program unusable (an Irem program file too short).
bool setUpFamilyBoard(Board& b)
{
    switch (b.game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: konamiBitmap::setUpBoard(b); return true;
    case IronHorse:
    case JailBreak: konamiTile::setUpIronHorseJailBreak(b); return true;
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case RopeMan:
    case CircusCharlie:
    case CircusCharlie2: konamiTile::setUpBoard(b); return true;
    case WhizQuiz: konamiTile::setUpWhizQuiz(b); return true;
    case MegaZone: konamiTile::setUpMegaZone(b); return true;
    case ShaolinsRoad: konamiTile::setUpShaolinsRoad(b); return true;
    case Tazmania:
    case Scramble:
    case SuperBond: scramble::setUpBoard(b); return true;
    case CrystalCastles: atari::setUpCrystalCastles(b); return true;
    case TunnelHunt: atari::setUpTunnelHunt(b); return true;
    case RTypeJapanese:
    case RType:
    case RType2:
    case RTypeLeo:
    case MasterT:
    case InTheHunt:
    case HeroTonma:
    case DragonBreed:
    case Kengo:
    case UnderCps: return irem::setUpBoard(b);
    default: return true; // boards not available in this version never get here
    }
}

// The record of a Z80 board's processor, with the range lists its set-up filled.
Z80Context* z80Record(Board& b)
{
    switch (b.game) {
    case Tazmania:
    case Scramble:
    case SuperBond: return &b.family.scramble.z80;
    default: return nullptr;
    }
}

} // namespace

Board& board()
{
    static Board running;
    return running;
}

BoardSnapshot takeBoard()
{
    BoardSnapshot snapshot{std::move(board()), {}, {}};
    for (CpuKind kind : {Cpu6502, Cpu6809, CpuZ80, CpuV30}) {
        CpuSlot& parked = snapshot.engines[static_cast<std::size_t>(kind)];
        parked.kind = kind;
        parked.z80 = &snapshot.z80;
        cpuEngineAdapter(kind).save(parked);
    }
    return snapshot;
}

void restoreBoard(BoardSnapshot&& snapshot)
{
    board() = std::move(snapshot.board);
    for (CpuSlot& parked : snapshot.engines) {
        parked.z80 = &snapshot.z80;
        cpuEngineAdapter(parked.kind).load(parked);
    }
}

BoardTiming boardTiming(GameId game)
{
    switch (game) {
    case Tank:
    case Vanguard:
    case Zoar: return {Cpu6502, 6144, 1, 60, 102};
    case Eggs:
    case CrystalCastles:
    case TunnelHunt: return {Cpu6502, 25600, 1, 60, 102};
    case PandorasPalace: return {Cpu6809, 4096, 1, 60, 102};
    case IronHorse:
    case SkyKid: return {Cpu6809, 25600, 1, 60, 102};
    case TrackNField: return {Cpu6809, 3413, 10, 60, 102};
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg:
    case HyperSports:
    case RockNRope:
    case CircusCharlie:
    case JailBreak:
    case CircusCharlie2:
    case RopeMan:
    case WhizQuiz:
    case RoadFighters:
    case MegaZone:
    case ShaolinsRoad: return {Cpu6809, 34133, 1, 60, 102};
    case Tazmania:
    case Scramble:
    case SuperBond: return {CpuZ80, 34133, 1, 60, 102};
    case NewZealandStory: return {CpuZ80, 34133, 1, 60, 0x38};
    case RTypeJapanese:
    case RType:
    case RTypeLeo:
    case InTheHunt:
    case DragonBreed:
    case UnderCps: return {CpuV30, 186181, 1, 55, 102};
    case MasterT: return {CpuV30, 148945, 1, 55, 102};
    case RType2:
    case Kengo: return {CpuV30, 93090, 2, 55, 102};
    case HeroTonma: return {CpuV30, 186181, 2, 55, 102};
    default: return {};
    }
}

bool boardAvailable(GameId game)
{
    switch (game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg:
    case IronHorse:
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case RopeMan:
    case CircusCharlie:
    case JailBreak:
    case CircusCharlie2:
    case WhizQuiz:
    case MegaZone:
    case ShaolinsRoad: return true;
    case Tazmania:
    case Scramble:
    case SuperBond: return true;
    case CrystalCastles:
    case TunnelHunt: return true;
    case RTypeJapanese:
    case RType:
    case RType2:
    case RTypeLeo:
    case MasterT:
    case InTheHunt:
    case HeroTonma:
    case DragonBreed:
    case Kengo:
    case UnderCps: return true;
    default: return false;
    }
}

std::string boardNotAvailableMessage(GameId game)
{
    const GameInfo* info = gameInfo(game);
    const std::string name = info && info->title ? info->title : "game " + std::to_string(game);
    return "ERROR - The board of \"" + name + "\" is not available in this version";
}

int setUpBoard(GameId game)
{
    Board& b = board();
    const BoardIo io = b.io;
    b = Board{};
    b.io = io;
    b.game = game;
    if (!boardAvailable(game)) {
        if (romFiles().reportError)
            romFiles().reportError(boardNotAvailableMessage(game));
        return kBoardNotAvailable;
    }

    const BoardTiming timing = boardTiming(game);
    b.kind = timing.kind;
    b.cyclesPerSlice = timing.cyclesPerSlice;
    b.slicesPerFrame = timing.slicesPerFrame;
    b.framesPerSecond = timing.framesPerSecond;
    b.interruptKind = timing.interruptKind;
    b.memory = CpuMemory::allocate(b.kind);
    if (loadProgramRoms(b) != kBoardOk) {
        b.memory = CpuMemory{};
        return kBoardRomMissing;
    }

    M6809Context& tables = m6809Engine().state;
    tables = M6809Context{};
    if (!setUpFamilyBoard(b)) {
        b.memory = CpuMemory{};
        return kBoardRomMissing;
    }

    std::memset(b.data(), 0, std::min(lowRamToClear(game), b.size()));

    if (!b.ownTables && b.kind == Cpu6809) {
        m6809MapHandlers(tables, 0x00, 0xFF, b.defaultRead, b.defaultWrite);
    }

    CpuSlotSetup setup;
    setup.kind = b.kind;
    setup.memory = b.data();
    setup.secondImage = nullptr;
    setup.cyclesPerSlice = b.cyclesPerSlice;
    setup.slicesPerFrame = b.slicesPerFrame;
    setup.interruptKind = b.interruptKind;
    setup.z80 = z80Record(b);
    // The slot layer knows game numbers only as plain integers.
    setup.interruptDecision = [](int32_t number, int32_t slot) { return interruptRule(toGameId(number), slot); };
    b.slots.cpuCount = 0;
    registerCpuSlot(b.slots, setup);
    b.cpuCount = b.slots.cpuCount;
    if (!registerSecondCpu(b, setup.interruptDecision)) {
        b.memory = CpuMemory{};
        return kBoardRomMissing;
    }

    if (b.bitmap) {
        b.visibleWidth = 8 * b.widthFactor;
        b.visibleHeight = 8 * b.heightFactor;
    } else {
        b.visibleWidth = 8 * b.widthFactor * b.tileColumns;
        b.visibleHeight = 8 * b.heightFactor * b.tileRows;
    }
    return kBoardOk;
}

bool registerSecondCpu(Board& b, CpuInterruptDecision decision)
{
    if (!b.secondCpu)
        return true;
    if (b.slots.cpuCount != 1)
        return false;
    // The engine holds slot 0's tables until the second set-up fills its own.
    m6809Engine().state = M6809Context{};
    CpuSlotSetup second;
    second.interruptKind = b.interruptKind;
    second.interruptDecision = decision;
    const bool registered = b.secondCpu(b, second) && registerCpuSlot(b.slots, second) == 1;
    b.cpuCount = b.slots.cpuCount;
    return registered;
}

void ensureOpcodeImage(Board& b)
{
    for (int32_t i = 0; i < b.slots.cpuCount; ++i) {
        CpuSlot& slot = b.slots.slot[i];
        if (slot.kind != Cpu6809 || slot.secondImage || !slot.memory)
            continue;
        m6809BuildOpcodeImage(slot.memory, nullptr);
        slot.secondImage = slot.memory + m6809OpcodeImage;
    }
}

void setUpExtras(GameId game)
{
    Board& b = board();
    if (!b.data() || b.game != game)
        return;
    switch (game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: konamiBitmap::setUpExtras(b); break;
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case RopeMan:
    case CircusCharlie:
    case JailBreak:
    case CircusCharlie2:
    case WhizQuiz:
    case MegaZone: konamiTile::setUpExtras(b); break; // Shaolin's Road fetches plain opcodes
    case CrystalCastles: atari::setUpCrystalCastlesExtras(b); break;
    default: break;
    }
    ensureOpcodeImage(b);
    loadHighScores(game);
}

void releaseExtras(GameId game)
{
    Board& b = board();
    if (b.game != game)
        return;
    if (b.data())
        saveHighScores(game, std::span<const uint8_t>(b.data(), b.size()));
    switch (game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: konamiBitmap::releaseExtras(b); break;
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case RopeMan:
    case CircusCharlie:
    case CircusCharlie2:
    case WhizQuiz:
    case MegaZone:
    case ShaolinsRoad: konamiTile::releaseExtras(b); break;
    case CrystalCastles: atari::releaseExtras(b); break;
    default: break;
    }
}

} // namespace vortastr
