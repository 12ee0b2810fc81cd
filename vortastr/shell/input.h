#pragma once
// Input: the key-state table the window's key events fill, joystick 1 and 2 detection, the
// one poll that every board handler uses, the cheat-mode run-button counters, and the scripted
// key presses of --input.
#include "boards/input_bits.h"
#include "shell/emulator.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vortastr {

enum class Key : int {
    Up,
    Down,
    Left,
    Right,
    Ctrl,
    Shift,
    Space,
    Pad8,
    Pad2,
    Pad4,
    Pad6,
    PadDecimal,
    PadPlus,
    PadMinus,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    F7,
    F8,
    // Read directly by some boards' handlers, outside the poll.
    Digit0,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    LetterZ,
    LetterX,
    LetterC,
    Count
};
constexpr int kKeyCount = static_cast<int>(Key::Count);

// Which keys are held, as the window last reported them.
struct KeyStateTable {
    std::array<bool, kKeyCount> down{};
    bool isDown(Key key) const { return down[static_cast<std::size_t>(key)]; }
    void set(Key key, bool held) { down[static_cast<std::size_t>(key)] = held; }
    void releaseAll() { down.fill(false); }
};
KeyStateTable& keyStates();

// A joystick's position and buttons (bit n = button n + 1) and its axis limits.
struct JoystickReading {
    int32_t x = 0, y = 0;
    uint32_t buttons = 0;
};
struct JoystickCaps {
    int32_t xMin = 0, xMax = 65535, yMin = 0, yMax = 65535;
};

// The joystick devices of the machine (SDL2 in the program, scripted in tests).
class JoystickSource {
public:
    virtual ~JoystickSource() = default;
    virtual int deviceCount() = 0;
    // False when the device does not answer.
    virtual bool read(int id, JoystickReading& reading) = 0;
    virtual JoystickCaps caps(int id) = 0;
};

constexpr int kNoJoystick = 99;

struct InputState {
    const RunState* run = nullptr; // useJoystick, inputSuspended
    JoystickSource* joysticks = nullptr;
    int joystick1 = kNoJoystick;
    int joystick2 = kNoJoystick;
    std::array<JoystickCaps, 2> caps{};
    // Cheat-mode run buttons.
    uint8_t trackFieldToggle = 0;
    std::array<uint8_t, 2> hyperSportsCounter{};
};
InputState& inputState();

// Whether a key that boards test directly is held; nothing while input is suspended.
bool directKeyHeld(DirectKey key);

// Finds the joysticks that answer; sets run.joystickPresent. Returns whether one was found.
bool detectJoysticks(RunState& run, JoystickSource* source);

// The input word for the requested bits (InputBit): active high, nothing while suspended.
uint32_t pollInput(uint32_t requestMask);

// Cheat-mode run buttons: the port bits (active high) a run-button read reports.
// Track & Field: bit 0 on every second read while Down is held. Hyper Sports player 0/1:
// a 3-bit counter per read, bit 0 while it is 0-2 (0-3 for player 1) and bit 2 while 5-7 (4-7).
// Without cheat mode the Down key itself is reported as bit 1.
uint8_t trackFieldRunBits(bool cheatMode, bool downHeld);
uint8_t hyperSportsRunBits(int player, bool cheatMode, bool downHeld);

// --input: "60:Right,90:Right+Ctrl,120:-". From the given frame on exactly the named keys are
// held ("-" releases all). Frames count from 1.
struct InputEvent {
    int frame = 0;
    std::vector<Key> keys;
};
using InputScript = std::vector<InputEvent>;
// Empty error on success; the events sorted by frame.
InputScript parseInputScript(const std::string& text, std::string& error);
// Applies the events of this frame to the key-state table.
void applyInputScript(const InputScript& script, int frame, KeyStateTable& keys);

} // namespace vortastr
