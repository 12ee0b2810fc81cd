#include "boards/high_scores.h"

#include "boards/file_commit.h"
#include "boards/game_files.h"
#include "boards/rom_files.h"

#include <cstring>

namespace vortastr {
namespace {

constexpr uint8_t kTutankhamMarker[] = {0x03, 0x58, 0x40, 0x03, 0x58, 0x40, 0x48};
constexpr uint8_t kVortaMarker[] = {0x01, 0x00, 0x00, 0x02, 0x41, 0x41, 0x41};
constexpr uint8_t kRopeTopScore[] = {0x01, 0x00, 0x00};
constexpr uint8_t kCircusFirstName[] = {'C', 'B', 'R'};
constexpr uint8_t kCircusTopScore[] = {0x01, 0x98, 0x30};
constexpr uint8_t kCircusDigitOne[] = {0x01};

constexpr HighScoreMarker kTutankhamMarkers[] = {{0x88A6, kTutankhamMarker}};
constexpr HighScoreMarker kVortaMarkers[] = {{0x8100, kVortaMarker}};
constexpr HighScoreMarker kRopeMarkers[] = {{0x5160, kRopeTopScore}, {0x50A6, kRopeTopScore}};
constexpr HighScoreMarker kCircusMarkers[] = {
    {0x2163, kCircusFirstName}, {0x20A6, kCircusTopScore}, {0x3627, kCircusDigitOne}};
constexpr HighScoreMarker kRTypeMarkers[] = {{0x42F55, kRTypeDefaultFirstName}};
constexpr HighScoreMarker kRType2Markers[] = {{0xE38B5, kRType2DefaultFirstName}};

constexpr HighScoreFile kTutankhamFile{"tutankhm\\tutank.hsc", 72, 0x88A0, kTutankhamMarkers, false};
constexpr HighScoreFile kVortaFile{"vorta\\vorta.hsc", 168, 0x8100, kVortaMarkers, false};
constexpr HighScoreFile kTrackFile{"trackfld\\trackfld.hsc", 1024, 0x2C00, {}, false};
constexpr HighScoreFile kHyperFile{"hyperspt\\hyperspt.hsc", 2048, 0x3800, {}, false};
constexpr HighScoreFile kRopeFile{"rocnrope\\rocnrope.hsc", 64, 0x5160, kRopeMarkers, true};
constexpr HighScoreFile kCircusFile{"circusch\\circusch.hsc", 50, 0x2160, kCircusMarkers, true};
constexpr HighScoreFile kCircus2File{"circusc2\\circusc2.hsc", 50, 0x2160, kCircusMarkers, true};
constexpr HighScoreFile kWhizFile{"whizquiz\\whizquiz.hsc", 1024, 0x2C00, {}, false};
constexpr HighScoreFile kRTypeJapaneseFile{"rtypejp\\rtype.hsc", 115, 0x42F4D, kRTypeMarkers, false};
constexpr HighScoreFile kRTypeFile{"rtype\\rtype.hsc", 115, 0x42F4D, kRTypeMarkers, false};
constexpr HighScoreFile kRType2File{"rtype2\\rtype2.hsc", 130, 0xE3834, kRType2Markers, false};

bool fitsIn(std::size_t memorySize, uint32_t address, std::size_t count)
{
    return address <= memorySize && count <= memorySize - address;
}

bool markersStand(const HighScoreFile& file, std::span<const uint8_t> memory)
{
    for (const HighScoreMarker& marker : file.markers) {
        if (!fitsIn(memory.size(), marker.address, marker.bytes.size()) ||
            std::memcmp(memory.data() + marker.address, marker.bytes.data(), marker.bytes.size()) != 0)
            return false;
    }
    return true;
}

void noteShortFile(const HighScoreFile& file, std::size_t got)
{
    HighScoreState& state = highScores();
    if (state.shortFileNoted || !state.note)
        return;
    state.shortFileNoted = true;
    state.note("The high-score file \"" + hostRomName(file.name) + "\" holds " + std::to_string(got) +
               " bytes, fewer than the " + std::to_string(file.bytes) +
               " of the table: it is not installed and the game keeps its own table.");
}

// The table's bytes from the file; false when missing or too short (a longer file gives its
// first bytes).
bool readTable(const HighScoreFile& file, std::string& bytes, bool& tooShort)
{
    tooShort = false;
    if (!readWholeFile(resolveRomPath(file.name), file.bytes, bytes))
        return false;
    if (bytes.size() < file.bytes) {
        tooShort = true;
        noteShortFile(file, bytes.size());
        return false;
    }
    return true;
}

// Rock'n'Rope shows its top score from a copy; Circus Charlie also draws it as screen digits.
void showInstalledTopScore(GameId game, std::span<uint8_t> m)
{
    switch (game) {
    case RockNRope: std::memcpy(&m[0x50A6], &m[0x5160], 3); break;
    case CircusCharlie:
    case CircusCharlie2: {
        const uint8_t b0 = m[0x2160], b1 = m[0x2161], b2 = m[0x2162];
        m[0x20A6] = b0, m[0x20A7] = b1, m[0x20A8] = b2;
        m[0x35C7] = b2 >> 4, m[0x35A7] = b2 & 0x0F;
        m[0x3607] = b1 >> 4, m[0x35E7] = b1 & 0x0F;
        m[0x3627] = b0 & 0x0F;
        if (b0 >> 4)
            m[0x3647] = b0 >> 4;
        break;
    }
    default: break;
    }
}

} // namespace

const HighScoreFile* highScoreFile(GameId game)
{
    switch (game) {
    case Tutankham: return &kTutankhamFile;
    case VortaStrike: return &kVortaFile;
    case TrackNField: return &kTrackFile;
    case HyperSports: return &kHyperFile;
    case RockNRope: return &kRopeFile;
    case CircusCharlie: return &kCircusFile;
    case CircusCharlie2: return &kCircus2File;
    case WhizQuiz: return &kWhizFile;
    case RTypeJapanese: return &kRTypeJapaneseFile;
    case RType: return &kRTypeFile;
    case RType2: return &kRType2File;
    default: return nullptr;
    }
}

HighScoreState& highScores()
{
    static HighScoreState state;
    return state;
}

void loadHighScores(GameId game)
{
    HighScoreState& state = highScores();
    state.pending = false;
    state.saveAllowed = false;
    const HighScoreFile* file = highScoreFile(game);
    if (file && file->readAtInstall) {
        state.pending = true; // read when the game's own table stands
    } else if (file) {
        std::string bytes;
        bool tooShort = false;
        if (readTable(*file, bytes, tooShort)) {
            std::memcpy(state.buffer.data(), bytes.data(), file->bytes);
            state.pending = true;
        }
    }
    if (!state.pending)
        state.saveAllowed = true;
}

void spoilHighScoreMarkers(GameId game, std::span<uint8_t> memory)
{
    const HighScoreFile* file = highScoreFile(game);
    if (!highScores().pending || !file)
        return;
    for (const HighScoreMarker& marker : file->markers) {
        if (!fitsIn(memory.size(), marker.address, marker.bytes.size()))
            continue;
        for (std::size_t i = 0; i < marker.bytes.size(); ++i)
            memory[marker.address + i] = static_cast<uint8_t>(~marker.bytes[i]);
    }
}

void installHighScores(GameId game, std::span<uint8_t> memory)
{
    HighScoreState& state = highScores();
    const HighScoreFile* file = highScoreFile(game);
    if (!state.pending || !file || !fitsIn(memory.size(), file->address, file->bytes) || !markersStand(*file, memory))
        return;
    state.pending = false;
    if (file->readAtInstall) {
        std::string bytes;
        bool tooShort = false;
        if (!readTable(*file, bytes, tooShort)) {
            // Missing: this run never writes the file. Too short: the game's own table is kept
            // and may be written.
            state.saveAllowed = tooShort;
            return;
        }
        std::memcpy(memory.data() + file->address, bytes.data(), file->bytes);
        showInstalledTopScore(game, memory);
    } else {
        std::memcpy(memory.data() + file->address, state.buffer.data(), file->bytes);
    }
    state.saveAllowed = true;
}

void highScoresTakenFromState()
{
    HighScoreState& state = highScores();
    state.pending = false;
    state.saveAllowed = true;
}

bool saveHighScores(GameId game, std::span<const uint8_t> memory)
{
    HighScoreState& state = highScores();
    const HighScoreFile* file = highScoreFile(game);
    if (!file || !state.saveAllowed || !fitsIn(memory.size(), file->address, file->bytes))
        return true;
    std::string error;
    const bool written = commitFile(gameFilePath(file->name), memory.subspan(file->address, file->bytes), error);
    if (!written && state.note)
        state.note("The high scores could not be saved: " + error);
    return written;
}

} // namespace vortastr
