#pragma once
// The input word of the one keyboard and joystick poll: a request mask goes in, the same bits
// come back set for the inputs that are held (active high).
#include <cstdint>

namespace vortastr {

enum InputBit : uint32_t {
    InputUp = 1u << 0,
    InputDown = 1u << 1,
    InputLeft = 1u << 2,
    InputRight = 1u << 3,
    InputCtrl = 1u << 4,
    InputShift = 1u << 5,
    InputPad8 = 1u << 6,
    InputPad2 = 1u << 7,
    InputPad4 = 1u << 8,
    InputPad6 = 1u << 9,
    InputPadDecimal = 1u << 10,
    InputPadPlus = 1u << 11,
    InputDigit3 = 1u << 12,
    InputDigit4 = 1u << 13,
    InputDigit1 = 1u << 14,
    InputDigit2 = 1u << 15,
    InputSpace = 1u << 18,
    InputPadMinus = 1u << 19,
};

constexpr uint32_t kPlayer1Inputs = InputUp | InputDown | InputLeft | InputRight | InputCtrl | InputShift | InputSpace;
constexpr uint32_t kPlayer2Inputs =
    InputPad8 | InputPad2 | InputPad4 | InputPad6 | InputPadDecimal | InputPadPlus | InputPadMinus;
constexpr uint32_t kSystemInputs = InputDigit1 | InputDigit2 | InputDigit3 | InputDigit4;

using InputPoll = uint32_t (*)(uint32_t requestMask);

// Keys some boards test themselves, outside the poll (as the original read them with
// GetAsyncKeyState inside the handler): the run-button panels and Rock'n'Rope's digit keys.
enum class DirectKey : int {
    Up,
    Down,
    Pad2,
    Pad8,
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    LetterZ,
    LetterX,
    LetterC,
};
constexpr DirectKey digitKey(int n) { return static_cast<DirectKey>(static_cast<int>(DirectKey::Digit0) + n); }
using DirectKeyTest = bool (*)(DirectKey key);

} // namespace vortastr
