#include "platform/key_state_feed.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

TEST(KeyStateFeed, QtKeysMapToTheEmulatorsKeys)
{
    struct Case {
        int qtKey;
        bool keypad;
        std::optional<Key> key;
    };
    const Case cases[] = {{Qt::Key_Left, false, Key::Left},    {Qt::Key_Left, true, Key::Left},
                          {Qt::Key_Control, false, Key::Ctrl}, {Qt::Key_8, true, Key::Pad8},
                          {Qt::Key_8, false, Key::Digit8},     {Qt::Key_2, false, Key::Digit2},
                          {Qt::Key_0, true, std::nullopt},     {Qt::Key_Z, false, Key::LetterZ},
                          {Qt::Key_2, true, Key::Pad2},        {Qt::Key_Plus, true, Key::PadPlus},
                          {Qt::Key_Plus, false, std::nullopt}, {Qt::Key_Period, true, Key::PadDecimal},
                          {Qt::Key_3, false, Key::Digit3},     {Qt::Key_F8, false, Key::F8},
                          {Qt::Key_A, false, std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(emulatorKeyOf(c.qtKey, c.keypad), c.key) << c.qtKey << " keypad " << c.keypad;
}

// A shown window whose key events feed an emptied key-state table.
struct FedWindow {
    KeyStateFeed feed;
    QWidget window;
    FedWindow()
    {
        keyStates().releaseAll();
        qApp->installEventFilter(&feed);
        window.show();
    }
    ~FedWindow() { qApp->removeEventFilter(&feed); }
};

TEST(KeyStateFeed, KeyEventsOfTheWindowFillTheTable)
{
    FedWindow fed;
    QWidget& window = fed.window;
    QTest::keyPress(&window, Qt::Key_Right);
    QTest::keyPress(&window, Qt::Key_6, Qt::KeypadModifier);
    EXPECT_TRUE(keyStates().isDown(Key::Right));
    EXPECT_TRUE(keyStates().isDown(Key::Pad6));
    QTest::keyRelease(&window, Qt::Key_Right);
    EXPECT_FALSE(keyStates().isDown(Key::Right));
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(keyStates().isDown(Key::Pad6));
}

// A key event as the window system sends it, with the physical key's scan code.
void sendKey(QWidget& window, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    QKeyEvent event(type, qtKey, modifiers, scanCode, 0, 0);
    QCoreApplication::sendEvent(&window, &event);
}

TEST(KeyStateFeed, AReleaseLetsGoOfTheKeyItsPressHeldDown)
{
    FedWindow fed;
    QWidget& window = fed.window;
    // "2" pressed, then Shift; the release of the same key now reports '@'.
    sendKey(window, QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, 11);
    sendKey(window, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 50);
    sendKey(window, QEvent::KeyRelease, Qt::Key_At, Qt::ShiftModifier, 11);
    EXPECT_FALSE(keyStates().isDown(Key::Digit2));
    EXPECT_TRUE(keyStates().isDown(Key::Shift));
    // Numeric-pad 8 pressed with Num Lock on and released after Num Lock went off.
    sendKey(window, QEvent::KeyPress, Qt::Key_8, Qt::KeypadModifier, 80);
    sendKey(window, QEvent::KeyRelease, Qt::Key_Up, Qt::KeypadModifier, 80);
    EXPECT_FALSE(keyStates().isDown(Key::Pad8));
    // Without a scan code the key reported decides.
    sendKey(window, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, 0);
    EXPECT_FALSE(keyStates().isDown(Key::Shift));
}

} // namespace
} // namespace vortastr::test
