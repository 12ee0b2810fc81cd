#include "shell/input.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vortastr {
namespace {

constexpr int32_t kAxisMargin = 2048;

struct KeyBit {
    uint32_t bit;
    Key key;
};
// Keyboard keys of the player bits; the digits are polled in either mode.
constexpr KeyBit kPlayerKeys[] = {
    {InputUp, Key::Up},           {InputDown, Key::Down},        {InputLeft, Key::Left},
    {InputRight, Key::Right},     {InputCtrl, Key::Ctrl},        {InputShift, Key::Shift},
    {InputSpace, Key::Space},     {InputPad8, Key::Pad8},        {InputPad2, Key::Pad2},
    {InputPad4, Key::Pad4},       {InputPad6, Key::Pad6},        {InputPadDecimal, Key::PadDecimal},
    {InputPadPlus, Key::PadPlus}, {InputPadMinus, Key::PadMinus}};
constexpr KeyBit kDigitKeys[] = {
    {InputDigit3, Key::Digit3}, {InputDigit4, Key::Digit4}, {InputDigit1, Key::Digit1}, {InputDigit2, Key::Digit2}};

struct KeyName {
    const char* name;
    Key key;
};
constexpr KeyName kKeyNames[] = {
    {"up", Key::Up},           {"down", Key::Down},         {"left", Key::Left},   {"right", Key::Right},
    {"ctrl", Key::Ctrl},       {"shift", Key::Shift},       {"space", Key::Space}, {"pad8", Key::Pad8},
    {"pad2", Key::Pad2},       {"pad4", Key::Pad4},         {"pad6", Key::Pad6},   {"paddecimal", Key::PadDecimal},
    {"padplus", Key::PadPlus}, {"padminus", Key::PadMinus}, {"1", Key::Digit1},    {"2", Key::Digit2},
    {"3", Key::Digit3},        {"4", Key::Digit4},          {"f7", Key::F7},       {"f8", Key::F8},
    {"0", Key::Digit0},        {"5", Key::Digit5},          {"6", Key::Digit6},    {"7", Key::Digit7},
    {"8", Key::Digit8},        {"9", Key::Digit9},          {"z", Key::LetterZ},   {"x", Key::LetterX},
    {"c", Key::LetterC}};

uint32_t joystickBits(uint32_t mask, const JoystickReading& r, const JoystickCaps& c)
{
    uint32_t word = 0;
    auto set = [&](uint32_t bit, bool on) {
        if ((mask & bit) && on)
            word |= bit;
    };
    set(InputUp, r.y <= c.yMin + kAxisMargin);
    set(InputDown, r.y >= c.yMax - kAxisMargin);
    set(InputLeft, r.x <= c.xMin + kAxisMargin);
    set(InputRight, r.x >= c.xMax - kAxisMargin);
    set(InputCtrl, r.buttons & 0x01);
    set(InputShift, r.buttons & 0x02);
    set(InputSpace, r.buttons & 0x04);
    set(InputDigit3, r.buttons & 0x200); // button 10
    return word;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

KeyStateTable& keyStates()
{
    static KeyStateTable table;
    return table;
}

InputState& inputState()
{
    static InputState state;
    return state;
}

bool detectJoysticks(RunState& run, JoystickSource* source)
{
    InputState& in = inputState();
    in.joysticks = source;
    in.joystick1 = kNoJoystick;
    in.joystick2 = kNoJoystick;
    run.joystickPresent = 0;
    const int count = source ? source->deviceCount() : 0;
    for (int id = 0; id < count; ++id) {
        JoystickReading reading;
        if (!source->read(id, reading))
            continue;
        run.joystickPresent = 1;
        if (in.joystick1 == kNoJoystick)
            in.joystick1 = id;
        else if (in.joystick2 == kNoJoystick)
            in.joystick2 = id;
    }
    if (in.joystick2 == kNoJoystick)
        in.joystick2 = in.joystick1;
    if (in.joystick1 == kNoJoystick) {
        run.joystickPresent = 0;
        return false;
    }
    in.caps[0] = source->caps(in.joystick1);
    in.caps[1] = source->caps(in.joystick2);
    return true;
}

uint32_t pollInput(uint32_t mask)
{
    const InputState& in = inputState();
    if (in.run && in.run->inputSuspended)
        return 0;
    const KeyStateTable& keys = keyStates();
    uint32_t word = 0;
    if (in.run && in.run->useJoystick == 1) {
        JoystickReading reading;
        if (in.joysticks && in.joystick1 != kNoJoystick && in.joysticks->read(in.joystick1, reading))
            word |= joystickBits(mask, reading, in.caps[0]);
    } else {
        for (const KeyBit& k : kPlayerKeys)
            if ((mask & k.bit) && keys.isDown(k.key))
                word |= k.bit;
    }
    for (const KeyBit& k : kDigitKeys)
        if ((mask & k.bit) && keys.isDown(k.key))
            word |= k.bit;
    return word;
}

bool directKeyHeld(DirectKey key)
{
    const InputState& in = inputState();
    if (in.run && in.run->inputSuspended)
        return false;
    const KeyStateTable& keys = keyStates();
    switch (key) {
    case DirectKey::Up: return keys.isDown(Key::Up);
    case DirectKey::Down: return keys.isDown(Key::Down);
    case DirectKey::Pad2: return keys.isDown(Key::Pad2);
    case DirectKey::Pad8: return keys.isDown(Key::Pad8);
    case DirectKey::Digit0: return keys.isDown(Key::Digit0);
    case DirectKey::Digit1: return keys.isDown(Key::Digit1);
    case DirectKey::Digit2: return keys.isDown(Key::Digit2);
    case DirectKey::Digit3: return keys.isDown(Key::Digit3);
    case DirectKey::Digit4: return keys.isDown(Key::Digit4);
    case DirectKey::Digit5: return keys.isDown(Key::Digit5);
    case DirectKey::Digit6: return keys.isDown(Key::Digit6);
    case DirectKey::Digit7: return keys.isDown(Key::Digit7);
    case DirectKey::Digit8: return keys.isDown(Key::Digit8);
    case DirectKey::Digit9: return keys.isDown(Key::Digit9);
    case DirectKey::LetterZ: return keys.isDown(Key::LetterZ);
    case DirectKey::LetterX: return keys.isDown(Key::LetterX);
    case DirectKey::LetterC: return keys.isDown(Key::LetterC);
    }
    return false;
}

uint8_t trackFieldRunBits(bool cheatMode, bool downHeld)
{
    if (!cheatMode)
        return downHeld ? 0x02 : 0;
    if (!downHeld)
        return 0;
    InputState& in = inputState();
    in.trackFieldToggle ^= 1;
    return in.trackFieldToggle;
}

uint8_t hyperSportsRunBits(int player, bool cheatMode, bool downHeld)
{
    if (!cheatMode)
        return downHeld ? 0x02 : 0;
    if (!downHeld)
        return 0;
    uint8_t& counter = inputState().hyperSportsCounter[player ? 1 : 0];
    counter = static_cast<uint8_t>((counter + 1) & 7);
    const int lastOfFirst = player ? 3 : 2;
    const int firstOfSecond = player ? 4 : 5;
    uint8_t bits = 0;
    if (counter <= lastOfFirst)
        bits |= 0x01;
    if (counter >= firstOfSecond)
        bits |= 0x04;
    return bits;
}

InputScript parseInputScript(const std::string& text, std::string& error)
{
    InputScript script;
    error.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = text.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = item.find(':');
        InputEvent event;
        const char* first = item.data();
        const char* last = colon == std::string::npos ? first : item.data() + colon;
        auto [ptr, ec] = std::from_chars(first, last, event.frame);
        if (colon == std::string::npos || ec != std::errc() || ptr != last || event.frame < 1) {
            error = "bad input event \"" + item + "\" (expected FRAME:KEY[+KEY...] or FRAME:-)";
            return {};
        }
        const std::string keys = item.substr(colon + 1);
        if (keys != "-") {
            std::size_t k = 0;
            while (k <= keys.size()) {
                std::size_t plus = keys.find('+', k);
                if (plus == std::string::npos)
                    plus = keys.size();
                const std::string name = lower(keys.substr(k, plus - k));
                k = plus + 1;
                const auto found = std::find_if(std::begin(kKeyNames), std::end(kKeyNames),
                                                [&](const KeyName& n) { return name == n.name; });
                if (found == std::end(kKeyNames)) {
                    error = "unknown key \"" + name + "\" in input event \"" + item + "\"";
                    return {};
                }
                event.keys.push_back(found->key);
            }
        }
        script.push_back(std::move(event));
    }
    std::stable_sort(script.begin(), script.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.frame < b.frame; });
    return script;
}

void applyInputScript(const InputScript& script, int frame, KeyStateTable& keys)
{
    for (const InputEvent& event : script) {
        if (event.frame != frame)
            continue;
        keys.releaseAll();
        for (Key key : event.keys)
            keys.set(key, true);
    }
}

} // namespace vortastr
