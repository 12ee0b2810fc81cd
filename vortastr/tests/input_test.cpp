#include "shell/command_line.h"
#include "shell/input.h"

#include <gtest/gtest.h>

#include <map>

namespace vortastr::test {
namespace {

class FakeJoysticks : public JoystickSource {
public:
    std::map<int, JoystickReading> answering; // devices that answer, by id
    int count = 4;
    int deviceCount() override { return count; }
    bool read(int id, JoystickReading& reading) override
    {
        const auto it = answering.find(id);
        if (it == answering.end())
            return false;
        reading = it->second;
        return true;
    }
    JoystickCaps caps(int) override { return {0, 65535, 0, 65535}; }
};

struct InputFixture : ::testing::Test {
    RunState run;
    void SetUp() override
    {
        inputState() = InputState{};
        inputState().run = &run;
        keyStates().releaseAll();
    }
    void TearDown() override
    {
        inputState() = InputState{};
        keyStates().releaseAll();
    }
};

TEST_F(InputFixture, KeyboardAnswersOnlyWhatIsAskedFor)
{
    keyStates().set(Key::Left, true);
    keyStates().set(Key::Pad4, true);
    keyStates().set(Key::Digit1, true);
    keyStates().set(Key::Space, true);
    EXPECT_EQ(pollInput(InputLeft | InputRight), InputLeft);
    EXPECT_EQ(pollInput(0xFFFFFFFF), InputLeft | InputPad4 | InputDigit1 | InputSpace);
    EXPECT_EQ(pollInput(InputUp), 0u);
}

TEST_F(InputFixture, NothingIsPressedWhileAnotherApplicationIsActive)
{
    keyStates().set(Key::Up, true);
    keyStates().set(Key::Digit3, true);
    run.inputSuspended = true;
    EXPECT_EQ(pollInput(0xFFFFFFFF), 0u);
}

TEST_F(InputFixture, JoystickModeIgnoresThePlayerTwoKeysButNotTheDigits)
{
    FakeJoysticks sticks;
    sticks.answering[2] = {0, 40000, 0x1 | 0x200};
    ASSERT_TRUE(detectJoysticks(run, &sticks));
    EXPECT_EQ(run.joystickPresent, 1);
    EXPECT_EQ(inputState().joystick1, 2);
    EXPECT_EQ(inputState().joystick2, 2);
    run.useJoystick = 1;
    keyStates().set(Key::Pad8, true);
    keyStates().set(Key::Right, true);
    keyStates().set(Key::Digit2, true);
    EXPECT_EQ(pollInput(0xFFFFFFFF), InputLeft | InputCtrl | InputDigit3 | InputDigit2);
}

TEST_F(InputFixture, WithoutAnAnsweringJoystickOnlyTheDigitsAct)
{
    FakeJoysticks sticks;
    EXPECT_FALSE(detectJoysticks(run, &sticks));
    EXPECT_EQ(run.joystickPresent, 0);
    EXPECT_EQ(inputState().joystick1, kNoJoystick);
    run.useJoystick = 1; // the J accelerator chooses it anyway
    keyStates().set(Key::Up, true);
    keyStates().set(Key::Digit4, true);
    EXPECT_EQ(pollInput(0xFFFFFFFF), InputDigit4);
}

TEST_F(InputFixture, CheatModeRunButtons)
{
    EXPECT_EQ(trackFieldRunBits(false, true), 0x02);
    EXPECT_EQ(trackFieldRunBits(true, false), 0);
    std::vector<int> track;
    for (int i = 0; i < 4; ++i)
        track.push_back(trackFieldRunBits(true, true));
    EXPECT_EQ(track, (std::vector<int>{1, 0, 1, 0}));

    std::vector<int> p1, p2;
    for (int i = 0; i < 8; ++i) {
        p1.push_back(hyperSportsRunBits(0, true, true));
        p2.push_back(hyperSportsRunBits(1, true, true));
    }
    // Counters 1..7 then 0.
    EXPECT_EQ(p1, (std::vector<int>{1, 1, 0, 0, 4, 4, 4, 1}));
    EXPECT_EQ(p2, (std::vector<int>{1, 1, 1, 4, 4, 4, 4, 1}));
    EXPECT_EQ(hyperSportsRunBits(0, false, true), 0x02);
}

TEST(InputScript, EventsByFrame)
{
    std::string error;
    const InputScript script = parseInputScript("120:-,60:Right,90:right+CTRL", error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(script.size(), 3u);
    EXPECT_EQ(script[0].frame, 60);
    EXPECT_EQ(script[1].keys, (std::vector<Key>{Key::Right, Key::Ctrl}));
    EXPECT_TRUE(script[2].keys.empty());

    KeyStateTable keys;
    applyInputScript(script, 59, keys);
    EXPECT_FALSE(keys.isDown(Key::Right));
    applyInputScript(script, 60, keys);
    EXPECT_TRUE(keys.isDown(Key::Right));
    applyInputScript(script, 61, keys);
    EXPECT_TRUE(keys.isDown(Key::Right)); // held until the next event
    applyInputScript(script, 120, keys);
    EXPECT_FALSE(keys.isDown(Key::Right));
}

TEST(InputScript, BadScriptsAreUsageErrors)
{
    for (const char* bad : {"60", "x:Right", "0:Right", "60:Jump", "60:Right+", "60:Right,,"}) {
        std::string error;
        parseInputScript(bad, error);
        EXPECT_FALSE(error.empty()) << bad;
        const std::vector<std::string> args{"--input", bad};
        EXPECT_EQ(parseCommandLine(args).status, ParseStatus::UsageError) << bad;
    }
    const std::vector<std::string> good{"--input=10:Up", "--unpaced"};
    const ParseResult parsed = parseCommandLine(good);
    EXPECT_EQ(parsed.status, ParseStatus::Run);
    EXPECT_EQ(parsed.options.inputScript, "10:Up");
    EXPECT_TRUE(parsed.options.unpaced);
}

} // namespace
} // namespace vortastr::test
