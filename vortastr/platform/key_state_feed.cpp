#include "platform/key_state_feed.h"

#include <QEvent>
#include <QKeyEvent>

namespace vortastr {

std::optional<Key> emulatorKeyOf(int qtKey, bool keypad)
{
    switch (qtKey) {
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Control: return Key::Ctrl;
    case Qt::Key_Shift: return Key::Shift;
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_F7: return Key::F7;
    case Qt::Key_F8: return Key::F8;
    case Qt::Key_Plus: return keypad ? std::optional(Key::PadPlus) : std::nullopt;
    case Qt::Key_Minus: return keypad ? std::optional(Key::PadMinus) : std::nullopt;
    case Qt::Key_Period:
    case Qt::Key_Comma:
    case Qt::Key_Delete: return keypad ? std::optional(Key::PadDecimal) : std::nullopt;
    case Qt::Key_8: return keypad ? Key::Pad8 : Key::Digit8;
    case Qt::Key_2: return keypad ? Key::Pad2 : Key::Digit2;
    case Qt::Key_4: return keypad ? Key::Pad4 : Key::Digit4;
    case Qt::Key_6: return keypad ? Key::Pad6 : Key::Digit6;
    case Qt::Key_1: return keypad ? std::optional<Key>() : Key::Digit1;
    case Qt::Key_3: return keypad ? std::optional<Key>() : Key::Digit3;
    case Qt::Key_0: return keypad ? std::optional<Key>() : Key::Digit0;
    case Qt::Key_5: return keypad ? std::optional<Key>() : Key::Digit5;
    case Qt::Key_7: return keypad ? std::optional<Key>() : Key::Digit7;
    case Qt::Key_9: return keypad ? std::optional<Key>() : Key::Digit9;
    case Qt::Key_Z: return Key::LetterZ;
    case Qt::Key_X: return Key::LetterX;
    case Qt::Key_C: return Key::LetterC;
    default: return std::nullopt;
    }
}

void KeyStateFeed::keyEvent(const QKeyEvent& event)
{
    if (event.isAutoRepeat())
        return;
    const uint32_t scanCode = event.nativeScanCode();
    const auto mapped = emulatorKeyOf(event.key(), event.modifiers() & Qt::KeypadModifier);
    if (event.type() == QEvent::KeyPress) {
        if (!mapped)
            return;
        keyStates().set(*mapped, true);
        if (scanCode != 0)
            heldByScanCode_[scanCode] = *mapped;
        return;
    }
    const auto held = scanCode != 0 ? heldByScanCode_.find(scanCode) : heldByScanCode_.end();
    if (held != heldByScanCode_.end()) {
        keyStates().set(held->second, false);
        heldByScanCode_.erase(held);
    } else if (mapped) {
        keyStates().set(*mapped, false);
    }
}

bool KeyStateFeed::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: keyEvent(*static_cast<QKeyEvent*>(event)); break;
    case QEvent::ApplicationDeactivate:
        keyStates().releaseAll();
        heldByScanCode_.clear();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vortastr
