// Input ports shared by the tile-and-sprite boards: the system port, two joystick ports and the
// run-button panels of Track'n'Field and Hyper Sports.
#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/konami_tile_io.h"

namespace vortastr::konamiTile {
namespace {

// Inputs the run-button panels take from the poll: player keys of both sides, Space and
// numeric-pad minus.
constexpr uint32_t kPanelInputs = 0xC0FFF;

void clearIf(uint8_t& port, bool held, int bitNumber)
{
    if (held)
        port = static_cast<uint8_t>(port & ~(1u << bitNumber));
}

// Hyper Sports cheat mode: a 3-bit counter per read while Down is held; the first panel presses
// bit 0 while it is 0 to 2 and bit 2 while 5 to 7, the second 0 to 3 and 4 to 7.
void hyperSportsCheat(uint8_t& port, int panel)
{
    uint8_t& counter = state().runCounter[std::size_t(panel)];
    counter = static_cast<uint8_t>((counter + 1) & 7);
    clearIf(port, counter <= (panel ? 3 : 2), 0);
    clearIf(port, counter >= (panel ? 4 : 5), 2);
}

// A joystick port: right clears bit 1, else left bit 0; down bit 3, else up bit 2; the two
// buttons bits 4 and 5.
struct JoystickKeys {
    uint32_t right, left, down, up, button1, button2;
};
uint8_t joystickPort(const JoystickKeys& keys, uint32_t mask)
{
    const uint32_t in = tilePoll(mask);
    uint8_t port = 0xFF;
    if (in & keys.right)
        clearIf(port, true, 1);
    else
        clearIf(port, in & keys.left, 0);
    if (in & keys.down)
        clearIf(port, true, 3);
    else
        clearIf(port, in & keys.up, 2);
    clearIf(port, in & keys.button1, 4);
    clearIf(port, in & keys.button2, 5);
    return port;
}

} // namespace

uint8_t systemPort()
{
    const uint32_t in = tilePoll(InputDigit3 | InputDigit4 | InputDigit1 | InputDigit2);
    uint8_t port = 0xFF;
    clearIf(port, in & InputDigit3, 0);
    clearIf(port, in & InputDigit4, 1);
    clearIf(port, in & InputDigit1, 3);
    clearIf(port, in & InputDigit2, 4);
    return port;
}

uint8_t joystickPort1()
{
    return joystickPort({InputRight, InputLeft, InputDown, InputUp, InputCtrl, InputShift}, kPlayer1Inputs);
}

uint8_t joystickPort2()
{
    return joystickPort({InputPad6, InputPad4, InputPad2, InputPad8, InputPadDecimal, InputPadPlus}, kPlayer2Inputs);
}

// Both panels read the same keys; they differ in the first and last steps and in their
// cheat-mode state. The steps are applied in this order on purpose: cheat mode sets bit 0
// outright, so keys tested after it can still press it.
uint8_t runButtonPanel(int panel, bool trackField)
{
    panel = panel ? 1 : 0;
    const bool cheat = board().io.cheatMode;
    uint8_t port = 0xFF;
    if (trackField && panel == 0)
        for (int n = 0; n < 4; ++n)
            clearIf(port, directKeyHeld(digitKey(6 + n)), n);
    const uint32_t in = tilePoll(kPanelInputs);
    if (in & InputRight)
        clearIf(port, true, 0);
    else
        clearIf(port, in & InputLeft, 2);
    clearIf(port, in & InputShift, 1);
    const bool down = directKeyHeld(DirectKey::Down);
    if (!cheat) {
        clearIf(port, down, 1);
    } else if (down) {
        if (trackField) {
            uint8_t& toggle = state().runToggle[std::size_t(panel)];
            toggle ^= 1;
            port = static_cast<uint8_t>((port & ~1u) | toggle);
        } else {
            hyperSportsCheat(port, panel);
        }
    }
    clearIf(port, directKeyHeld(DirectKey::Up), 1);
    if (in & InputPad6)
        clearIf(port, true, 4);
    else
        clearIf(port, in & InputPad4, 6);
    clearIf(port, in & InputPadPlus, 5);
    clearIf(port, directKeyHeld(DirectKey::Pad2) || directKeyHeld(DirectKey::Pad8), 5);
    clearIf(port, in & InputCtrl, 2);
    clearIf(port, in & InputSpace, 0);
    clearIf(port, in & InputPadDecimal, 6);
    clearIf(port, in & InputPadMinus, 4);
    clearIf(port, directKeyHeld(DirectKey::LetterZ), 6);
    clearIf(port, directKeyHeld(DirectKey::LetterX), 5);
    clearIf(port, directKeyHeld(DirectKey::LetterC), 4);
    clearIf(port, directKeyHeld(panel == 0 ? DirectKey::Digit5 : DirectKey::Digit6), 3);
    return port;
}

} // namespace vortastr::konamiTile
