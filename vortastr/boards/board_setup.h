#pragma once
// Building the board of a game: processor memory, program ROMs, memory map, budget, slices,
// frame rate and screen size, the processor slot; then the side buffers and opcode images.
#include "boards/board.h"

namespace vortastr {

constexpr int kBoardOk = 0;
constexpr int kBoardRomMissing = -1;
constexpr int kBoardNotAvailable = -2;

// Processor, budget per slice, slices per frame and frame rate of every game's board.
struct BoardTiming {
    CpuKind kind = Cpu6502;
    int32_t cyclesPerSlice = 6144;
    int32_t slicesPerFrame = 1;
    int32_t framesPerSecond = 60;
    uint16_t interruptKind = 102;
};
BoardTiming boardTiming(GameId game);

// Whether this build can run the game's board.
bool boardAvailable(GameId game);
std::string boardNotAvailableMessage(GameId game);

// kBoardOk; kBoardRomMissing after the loader's message; kBoardNotAvailable after a message
// saying so. The board record is reset first, so a failure leaves no half-built board.
int setUpBoard(GameId game);

// Slot 1 for a board whose family set-up named a second processor (Board::secondCpu): the
// set-up fills fresh engine tables and the slot set-up, which takes the decision of slot 0.
// True when there is none or it is registered; false (slot 0 alone stays) when it cannot run.
bool registerSecondCpu(Board& board, CpuInterruptDecision decision);

// Side buffers, decrypted images and the 6809 opcode image, then the high scores (loaded
// here, written when the game is released). A buffer that cannot be had leaves the game
// running without it.
void setUpExtras(GameId game);
void releaseExtras(GameId game);

// The slot's opcode image for a 6809 board that has none yet: a plain copy of its data.
void ensureOpcodeImage(Board& board);

} // namespace vortastr
