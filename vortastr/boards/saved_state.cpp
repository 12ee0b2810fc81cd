#include "boards/saved_state.h"

#include "boards/game_catalogue.h"
#include "boards/state_bytes.h"
#include "cpu/m6809/m6809_engine.h"

#include <zlib.h>

#include <array>
#include <map>

namespace vortastr {
namespace {

constexpr std::array<uint8_t, 4> kMagic{'V', 'S', 'T', 'A'};
constexpr std::size_t kMaxSections = 16;

constexpr uint32_t tag(const char (&name)[5])
{
    return uint32_t(uint8_t(name[0])) | uint32_t(uint8_t(name[1])) << 8 | uint32_t(uint8_t(name[2])) << 16 |
           uint32_t(uint8_t(name[3])) << 24;
}
constexpr uint32_t kCpuTags[maxCpuSlots] = {tag("CPU0"), tag("CPU1")};
constexpr uint32_t kMemoryTag = tag("MEM ");
constexpr uint32_t kBoardTag = tag("BORD");
constexpr uint32_t kFamilyTag = tag("FAMI");
constexpr uint32_t kPaletteTag = tag("PAL ");
constexpr uint32_t kEngineTag = tag("ENGN");
// Two-processor boards only: slot 1's interrupt latch, then its own memory block (if any).
constexpr uint32_t kSecondCpuTag = tag("SUB1");

// What an engine keeps for all its slots rather than per slot: the 6809 carries a slice's
// overshoot into the next slice in its engine-wide counter.
std::vector<uint8_t> engineSection(CpuKind kind)
{
    StateWriter w;
    if (kind == Cpu6809)
        w << m6809Engine().counter;
    return std::move(w.bytes());
}
bool readEngineSection(CpuKind kind, std::span<const uint8_t> bytes, int32_t& counter)
{
    StateReader r(bytes);
    if (kind == Cpu6809)
        r >> counter;
    return r.ok() && r.atEnd();
}

uint32_t crcOf(std::span<const uint8_t> bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t part = std::min<std::size_t>(bytes.size() - done, 1u << 30);
        crc = crc32(crc, bytes.data() + done, static_cast<uInt>(part));
        done += part;
    }
    return static_cast<uint32_t>(crc);
}

// One arm per family with registers of its own.
void writeFamilyState(const Board& b, StateWriter& w)
{
    switch (boardFamily(b.game)) {
    case BoardFamily::KonamiBitmap: konamiBitmap::writeState(b.game, b.family.konamiBitmap, w); break;
    case BoardFamily::KonamiTile: konamiTile::writeState(b.family.konamiTile, w); break;
    case BoardFamily::ScrambleZ80: scramble::writeState(b.family.scramble, w); break;
    case BoardFamily::Atari6502: atari::writeState(b.family.atari, w); break;
    case BoardFamily::IremV30: irem::writeState(b.family.iremV30, w); break;
    default: break;
    }
}
// What a family keeps outside its record (renderer and palette-sync state), read with it.
struct FamilyExtras {
    std::array<uint8_t, 16> konamiPaletteRecord{};
};
bool readFamilyState(GameId game, FamilyStates& family, FamilyExtras& extras, StateReader& r)
{
    switch (boardFamily(game)) {
    case BoardFamily::KonamiBitmap:
        return konamiBitmap::readState(game, family.konamiBitmap, extras.konamiPaletteRecord, r);
    case BoardFamily::KonamiTile: return konamiTile::readState(family.konamiTile, r);
    case BoardFamily::ScrambleZ80: return scramble::readState(family.scramble, r);
    case BoardFamily::Atari6502: return atari::readState(family.atari, r);
    case BoardFamily::IremV30: return irem::readState(family.iremV30, r);
    default: return r.atEnd();
    }
}
void commitFamilyExtras(GameId game, const FamilyExtras& extras)
{
    switch (boardFamily(game)) {
    case BoardFamily::KonamiBitmap: konamiBitmap::takePaletteRecord(game, extras.konamiPaletteRecord); break;
    default: break;
    }
}

std::vector<uint8_t> slotSection(const CpuSlot& slot)
{
    StateWriter w;
    w << slot.cyclesTotal << slot.interruptEnable;
    w.append(cpuEngineAdapter(slot.kind).serialize(slot));
    return std::move(w.bytes());
}

std::vector<uint8_t> boardSection(const Board& b)
{
    StateWriter w;
    w << b.currentSlice << b.interruptToggle << b.sliceCounter << b.m6502InterruptPending;
    w << uint8_t(b.io.interruptEnable ? *b.io.interruptEnable : 0);
    return std::move(w.bytes());
}

std::vector<uint8_t> secondCpuSection(const Board& b)
{
    std::vector<uint8_t> bytes{uint8_t(b.io.secondInterruptEnable ? *b.io.secondInterruptEnable : 0)};
    bytes.insert(bytes.end(), b.secondMemory.data(), b.secondMemory.data() + b.secondMemory.size);
    return bytes;
}

std::vector<uint8_t> paletteSection(const ColourTables& colours)
{
    StateWriter w;
    w << int32_t(colours.bank);
    for (const RgbBank& bank : colours.rgb)
        for (const RgbEntry& e : bank)
            w << e.red << e.green << e.blue << e.flags;
    for (uint8_t index : colours.index8)
        w << index;
    for (const auto& bank : colours.colour16)
        for (uint16_t pixel : bank)
            w << pixel;
    return std::move(w.bytes());
}

// A candidate for the running board, filled from the sections; committed only when whole.
struct Candidate {
    std::array<CpuSlot, maxCpuSlots> slots;
    std::array<Z80Context, maxCpuSlots> z80;
    Board* board = nullptr;
    int32_t currentSlice = 0, sliceCounter = 0;
    uint8_t interruptToggle = 0, m6502Pending = 0, interruptLatch = 0;
    FamilyStates family;
    FamilyExtras familyExtras;
    int32_t paletteBank = 0;
    std::array<RgbBank, 2> rgb{};
    std::array<uint8_t, 256> index8{};
    std::array<std::array<uint16_t, 256>, 2> colour16{};
    std::span<const uint8_t> memory;
    std::span<const uint8_t> secondCpu; // latch byte + second memory, when there is a slot 1
    int32_t engineCounter = 0;
};

bool readSlot(Candidate& c, std::size_t i, std::span<const uint8_t> bytes)
{
    CpuSlot& slot = c.slots[i];
    slot = c.board->slots.slot[i];
    if (slot.z80) {
        c.z80[i] = *slot.z80;
        slot.z80 = &c.z80[i];
    }
    StateReader r(bytes);
    r >> slot.cyclesTotal >> slot.interruptEnable;
    if (!r.ok())
        return false;
    return cpuEngineAdapter(slot.kind).deserialize(slot, bytes.subspan(8 + 1));
}

bool readBoard(Candidate& c, std::span<const uint8_t> bytes)
{
    StateReader r(bytes);
    r >> c.currentSlice >> c.interruptToggle >> c.sliceCounter >> c.m6502Pending;
    r >> c.interruptLatch;
    return r.ok() && r.atEnd() && c.currentSlice >= 0 && c.currentSlice < c.board->slicesPerFrame;
}

bool readPalette(Candidate& c, std::span<const uint8_t> bytes)
{
    StateReader r(bytes);
    r >> c.paletteBank;
    for (RgbBank& bank : c.rgb)
        for (RgbEntry& e : bank)
            r >> e.red >> e.green >> e.blue >> e.flags;
    for (uint8_t& index : c.index8)
        r >> index;
    for (auto& bank : c.colour16)
        for (uint16_t& pixel : bank)
            r >> pixel;
    return r.ok() && r.atEnd() && (c.paletteBank == 0 || c.paletteBank == 1);
}

void commit(Candidate& c, Board& b, ColourTables& colours)
{
    // The family record first: a Z80 slot's record lives in it (the Scramble boards), and the
    // slot's loaded registers must not be overwritten by the family's copy of the old ones.
    b.family = std::move(c.family);
    commitFamilyExtras(b.game, c.familyExtras);
    for (int32_t i = 0; i < b.slots.cpuCount; ++i) {
        CpuSlot& live = b.slots.slot[i];
        Z80Context* record = live.z80;
        live = c.slots[static_cast<std::size_t>(i)];
        if (record) {
            *record = c.z80[static_cast<std::size_t>(i)];
            live.z80 = record;
        }
    }
    std::copy(c.memory.begin(), c.memory.end(), b.data());
    b.currentSlice = c.currentSlice;
    b.interruptToggle = c.interruptToggle;
    b.sliceCounter = c.sliceCounter;
    b.m6502InterruptPending = c.m6502Pending;
    if (b.io.interruptEnable)
        *b.io.interruptEnable = c.interruptLatch;
    if (!c.secondCpu.empty()) {
        if (b.io.secondInterruptEnable)
            *b.io.secondInterruptEnable = c.secondCpu[0];
        std::copy(c.secondCpu.begin() + 1, c.secondCpu.end(), b.secondMemory.data());
    }
    colours.bank = c.paletteBank;
    colours.rgb = c.rgb;
    colours.index8 = c.index8;
    colours.colour16 = c.colour16;
    if (b.kind == Cpu6809)
        m6809Engine().counter = c.engineCounter;
}

std::string gameName(int32_t number)
{
    const GameInfo* info = gameInfo(toGameId(number));
    if (info && info->title)
        return "\"" + std::string(info->title) + "\"";
    return "game " + std::to_string(number);
}

} // namespace

std::vector<uint8_t> encodeSavedState(const Board& b, const ColourTables& colours)
{
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> sections;
    for (int32_t i = 0; i < b.slots.cpuCount && i < maxCpuSlots; ++i)
        sections.emplace_back(kCpuTags[i], slotSection(b.slots.slot[i]));
    sections.emplace_back(kMemoryTag, std::vector<uint8_t>(b.data(), b.data() + b.size()));
    sections.emplace_back(kBoardTag, boardSection(b));
    StateWriter family;
    writeFamilyState(b, family);
    sections.emplace_back(kFamilyTag, std::move(family.bytes()));
    sections.emplace_back(kPaletteTag, paletteSection(colours));
    sections.emplace_back(kEngineTag, engineSection(b.kind));
    if (b.slots.cpuCount > 1)
        sections.emplace_back(kSecondCpuTag, secondCpuSection(b));

    StateWriter w;
    w.append(kMagic);
    w << kSavedStateVersion << uint16_t(b.game) << uint16_t(sections.size()) << uint16_t(0);
    for (const auto& [id, bytes] : sections)
        w << id << uint32_t(bytes.size());
    for (const auto& section : sections)
        w.append(section.second);
    w << crcOf(w.bytes());
    return std::move(w.bytes());
}

bool decodeSavedState(std::span<const uint8_t> file, Board& b, ColourTables& colours, std::string& reason)
{
    StateReader header(file);
    const auto magic = header.take(kMagic.size());
    uint16_t version = 0, game = 0, count = 0, reserved = 0;
    header >> version >> game >> count >> reserved;
    if (!header.ok() || !std::equal(magic.begin(), magic.end(), kMagic.begin())) {
        reason = "it is not a saved state of this emulator";
        return false;
    }
    if (version != kSavedStateVersion) {
        reason = "it was written in format version " + std::to_string(version) + ", this version reads " +
                 std::to_string(kSavedStateVersion);
        return false;
    }
    if (file.size() < 4 || crcOf(file.first(file.size() - 4)) !=
                               (uint32_t(file[file.size() - 4]) | uint32_t(file[file.size() - 3]) << 8 |
                                uint32_t(file[file.size() - 2]) << 16 | uint32_t(file[file.size() - 1]) << 24)) {
        reason = "it is damaged (its check sum does not match)";
        return false;
    }
    if (game != static_cast<uint16_t>(b.game)) {
        reason = "it is a state of " + gameName(game) + ", not of " + gameName(b.game);
        return false;
    }
    std::map<uint32_t, std::span<const uint8_t>> sections;
    std::vector<std::pair<uint32_t, uint32_t>> table;
    for (uint16_t i = 0; i < count && i < kMaxSections; ++i) {
        uint32_t id = 0, size = 0;
        header >> id >> size;
        table.emplace_back(id, size);
    }
    StateReader body(
        file.first(file.size() - 4).subspan(std::min<std::size_t>(file.size() - 4, 12 + 8u * table.size())));
    for (const auto& [id, size] : table)
        sections[id] = body.take(size);
    const auto failed = [&reason] {
        reason = "its contents do not fit this game's board";
        return false;
    };
    if (!header.ok() || count > kMaxSections || !body.ok() || !body.atEnd())
        return failed();

    Candidate c;
    c.board = &b;
    for (int32_t i = 0; i < b.slots.cpuCount && i < maxCpuSlots; ++i) {
        auto found = sections.find(kCpuTags[i]);
        if (found == sections.end() || !readSlot(c, static_cast<std::size_t>(i), found->second))
            return failed();
    }
    c.memory = sections[kMemoryTag];
    if (b.slots.cpuCount > 1) {
        c.secondCpu = sections[kSecondCpuTag];
        if (c.secondCpu.size() != 1 + b.secondMemory.size)
            return failed();
    }
    c.family = b.family;
    StateReader familyReader(sections[kFamilyTag]);
    if (c.memory.size() != b.size() || !readBoard(c, sections[kBoardTag]) ||
        !readFamilyState(b.game, c.family, c.familyExtras, familyReader) || !readPalette(c, sections[kPaletteTag]) ||
        !readEngineSection(b.kind, sections[kEngineTag], c.engineCounter))
        return failed();
    commit(c, b, colours);
    return true;
}

} // namespace vortastr
