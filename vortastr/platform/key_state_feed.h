#pragma once
// Fills the key-state table from the application's key events. Keys are let through to the
// windows (accelerators still work); leaving the application releases every key.
#include "shell/input.h"

#include <QObject>

#include <optional>

class QKeyEvent;

namespace vortastr {

// The emulator key a Qt key event stands for, if any.
std::optional<Key> emulatorKeyOf(int qtKey, bool keypad);

class KeyStateFeed : public QObject {
public:
    explicit KeyStateFeed(QObject* parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace vortastr
