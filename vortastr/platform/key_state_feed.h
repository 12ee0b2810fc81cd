#pragma once
// Fills the key-state table from the application's key events. Keys are let through to the
// windows (accelerators still work); leaving the application releases every key.
#include "shell/input.h"

#include <QObject>

#include <cstdint>
#include <optional>
#include <unordered_map>

class QKeyEvent;

namespace vortastr {

// The emulator key a Qt key event stands for, if any.
std::optional<Key> emulatorKeyOf(int qtKey, bool keypad);

class KeyStateFeed : public QObject {
public:
    explicit KeyStateFeed(QObject* parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keyEvent(const QKeyEvent& event);

    // The key each physical key (by scan code) pressed, so that its release lets go of the
    // same key even when Shift or Num Lock changed what the key reports in between.
    std::unordered_map<uint32_t, Key> heldByScanCode_;
};

} // namespace vortastr
