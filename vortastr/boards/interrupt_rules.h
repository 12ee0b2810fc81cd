#pragma once
// The interrupt rule of every board: asked after each slice, it answers what the processor
// gets (by kind: see applyInterruptAnswer). Answers with no meaning for a 6809 clear its
// pending interrupts, so a request lives for one slice only.
#include "boards/game_id.h"
#include <cstdint>

namespace vortastr {

// 6502 answers.
constexpr int32_t m6502AnswerNone = 0;
constexpr int32_t m6502AnswerIrq = 1;
constexpr int32_t m6502AnswerNmi = 2;

// Uses and updates the rule state of board() (toggle, slice counter, current slice).
int32_t interruptRule(GameId game, int32_t slotIndex);

} // namespace vortastr
