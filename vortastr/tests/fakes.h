#pragma once
// Scripted stand-ins for the window side and the settings store, for the core tests.
#include "shell/emulator.h"
#include "shell/settings.h"
#include "shell/shell_host.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vortastr::test {

// Values by name; an entry holding nothing stands for a value that exists but cannot be read.
class MemoryStore : public SettingsStore {
public:
    bool exists = true;
    bool commitFails = false;
    std::map<std::string, std::optional<int32_t>> values;
    std::vector<std::string> writeOrder;

    bool openForReading() override { return exists; }
    std::optional<int32_t> readDword(const std::string& name) override
    {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : it->second;
    }
    bool openForWriting() override
    {
        writeOrder.clear();
        return true;
    }
    void writeDword(const std::string& name, int32_t value) override
    {
        values[name] = value;
        writeOrder.push_back(name);
    }
    bool commit() override
    {
        if (commitFails)
            return false;
        exists = true;
        return true;
    }
};

class FakeOutput : public DisplayOutput {
public:
    std::vector<DisplayMode> modes = virtualDisplayModes();
    Rect client;
    bool fullScreen = false;
    int presents = 0;
    std::string title;

    std::vector<DisplayMode> listModes() override { return modes; }
    void showWindowed(int w, int h) override
    {
        fullScreen = false;
        client = {100, 50, 100 + w, 50 + h};
    }
    void showFullScreen(const DisplayMode& mode) override
    {
        fullScreen = true;
        client = {0, 0, mode.width, mode.height};
    }
    Rect clientRect() override { return client; }
    void present(const ScreenSurface&, const Rect&, const Rect&) override { ++presents; }
    void setTitle(const std::string& t) override { title = t; }
};

struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

class FakeHost : public ShellHost {
public:
    FakeOutput output;
    bool windowCreates = true;
    bool windowExists = false;
    std::vector<Message> messages;
    int aboutRuns = 0;
    AboutText lastAbout;
    std::function<int(DipDialogSession&)> dipAnswer = [](DipDialogSession&) { return 0; };
    int dipRuns = 0;
    int pumps = 0;
    std::function<void()> onPump;
    std::vector<bool> cursorCalls;

    bool createMainWindow(Emulator&) override { return windowExists = windowCreates; }
    void destroyMainWindow() override { windowExists = false; }
    DisplayOutput& displayOutput() override { return output; }
    void pumpOneMessage() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }
    void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        messages.push_back({text, caption, icon});
    }
    int runAboutDialog(const AboutText& text) override
    {
        ++aboutRuns;
        lastAbout = text;
        return 1;
    }
    int runDipDialog(DipDialogSession& session) override
    {
        ++dipRuns;
        return dipAnswer(session);
    }
    void setCursorVisible(bool visible) override { cursorCalls.push_back(visible); }
    bool writeSnapshot(const ScreenSurface&, const std::string&, std::string&) override { return true; }
};

// An emulator with a created window on the fake host, started as the program starts it.
struct StartedEmulator {
    Emulator emu;
    FakeHost host;
    MemoryStore store;

    explicit StartedEmulator(const std::string& gameLine = "", int depth = 16);
};

} // namespace vortastr::test
