#pragma once
// The ROM sets of every game: program ROMs (lists and even/odd pairs), the side buffers loaded
// after the board set-up, and the character and sprite sets with where their images land.
#include "boards/game_id.h"
#include "boards/rom_loader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vortastr {

struct RomListLoad {
    RomList files;
    uint32_t address = 0;
    uint32_t fileSize = 0;
};

struct RomPairLoad {
    RomPairList pairs;
    uint32_t address = 0;
    uint32_t fileSize = 0;
};

// Program ROMs in load order. When `fallbackProbe` is set and cannot be opened (tested
// without a message), `fallbackPairs` are loaded instead of `pairs`.
struct ProgramRoms {
    std::vector<RomListLoad> lists;
    std::vector<RomPairLoad> pairs;
    std::string fallbackProbe;
    std::vector<RomPairLoad> fallbackPairs;
};
ProgramRoms programRoms(GameId game);

// A side buffer: its size, files and bytes per file; size 0 when the game has none.
struct SideBufferRoms {
    uint32_t size = 0;
    RomList files;
    uint32_t fileSize = 0;
    bool silent = false; // opened without the message when missing
};
SideBufferRoms sideBufferRoms(GameId game);

// One decode: up to four files (an empty name stands for none), the image copied to each of
// `firstLines` of the sheet.
struct DecodeStep {
    RomList files;
    uint32_t fileSize = 0;
    int blocks = 0;
    std::vector<int> firstLines;
};

// A character or sprite set: the sheet's size in 128-line units and its decodes in order.
// When `fallbackProbe` cannot be opened (silently), `fallbackSteps` replace `steps`.
struct GraphicsSet {
    GraphicsSet() = default;
    GraphicsSet(int units, std::vector<DecodeStep> decodes, std::string probe = {},
                std::vector<DecodeStep> fallback = {})
        : sheetUnits(units), steps(std::move(decodes)), fallbackProbe(std::move(probe)),
          fallbackSteps(std::move(fallback))
    {}

    int sheetUnits = 1;
    std::vector<DecodeStep> steps;
    std::string fallbackProbe;
    std::vector<DecodeStep> fallbackSteps;
};
GraphicsSet characterSet(GameId game);
GraphicsSet spriteSet(GameId game);

} // namespace vortastr
