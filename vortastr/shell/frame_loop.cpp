#include "shell/frame_loop.h"

#include "boards/board_setup.h"
#include "boards/game_states.h"
#include "boards/game_video.h"
#include "boards/graphics_sets.h"
#include "boards/high_scores.h"
#include "boards/rom_files.h"
#include "shell/main_loop.h"
#include "shell/shell_host.h"
#include "shell/trackball_motion.h"
#include "sound/sample_sets.h"
#include "sound/sound_session.h"
#include "video/game_palette.h"
#include "video/graphics_sheet.h"
#include "video/tile_pipeline.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace vortastr {
namespace {

constexpr uint64_t kSpinMargin = 1500000; // ns: sleep until this long before a render is due
constexpr int32_t kFpsInterval = 100;

void showError(Emulator& emu, const std::string& text)
{
    if (emu.host)
        emu.host->messageBox(text, kErrorCaption, MessageIcon::Error);
}

void showWarning(Emulator& emu, const std::string& text)
{
    if (emu.host)
        emu.host->messageBox(text, kWarningCaption, MessageIcon::Warning);
}

// Before a reset or a change of game: the table, unless the file's is still to be installed.
void saveHighScoresBeforeLeaving(GameId game)
{
    const Board& b = board();
    if (!highScores().pending && b.data() && b.game == game)
        saveHighScores(game, std::span<const uint8_t>(b.data(), b.size()));
}

int saveStateOfGame(Emulator& emu, GameId game)
{
    std::string warning;
    const int status = saveGameState(game, emu.colours, warning);
    if (!warning.empty())
        showWarning(emu, warning);
    return status;
}

int loadStateOfGame(Emulator& emu, GameId game)
{
    std::string warning;
    const int status = loadGameState(game, emu.colours, warning);
    if (!warning.empty())
        showWarning(emu, warning);
    return status;
}

void takeSavedDips(Emulator& emu)
{
    const auto game = static_cast<std::size_t>(emu.run.currentGame);
    emu.run.dips.a = static_cast<uint8_t>(emu.settings.savedDipA[game]);
    emu.run.dips.b = static_cast<uint8_t>(emu.settings.savedDipB[game]);
}

void setScreenSize(Emulator& emu)
{
    const Board& b = board();
    // The screen is the board's tiles in pixels; the visible size is the renderer's business.
    displaySetScreenSize(emu.display, 8 * b.tileColumns, 8 * b.tileRows, emu.settings.windowScaleX,
                         emu.settings.windowScaleY);
    // A new screen starts from the desktop palette: give it the game's colours again.
    if (emu.display.paletted) {
        uploadGameEntries(emu.colours, emu.display.screen.palette());
        uploadGameEntries(emu.colours, emu.display.presented.palette());
    }
}

void uploadPalette(Emulator& emu) { initGamePalette(emu.run.currentGame, emu.display, emu.colours, readRomBytes); }

void warnAbout16BitGames(Emulator& emu)
{
    if (emu.display.paletted && !emu.display.fullScreen && needs16BitScreen(emu.run.currentGame) && emu.host)
        emu.host->messageBox("NOTE - This game will only run on a 16bit desktop", kWarningCaption,
                             MessageIcon::Information);
}

// Character ROMs, sprite ROMs and board of a new game; on failure the previous game, its
// board and its sheets are put back untouched, so it runs on.
bool loadNewGame(Emulator& emu, FrameLoop& loop)
{
    RunState& run = emu.run;
    if (run.currentGame == loop.lastLoadedGame)
        return true;
    GraphicsSheets previousSheets = std::move(graphicsSheets());
    BoardSnapshot previousBoard = takeBoard();
    auto fail = [&](const char* message) {
        if (message)
            showError(emu, message);
        graphicsSheets() = std::move(previousSheets);
        restoreBoard(std::move(previousBoard));
        run.currentGame = loop.lastLoadedGame;
        return false;
    };
    if (loadCharacterSet(run.currentGame) != 0)
        return fail(kCantFindCharacterRoms);
    if (loadSpriteSet(run.currentGame) != 0)
        return fail(kCantFindSpriteRoms);
    warnAbout16BitGames(emu);
    selectPaletteBank(emu.colours, 0);
    const int status = setUpBoard(run.currentGame);
    if (status != kBoardOk)
        return fail(status == kBoardRomMissing ? kCantFindGameRomsOnChange : nullptr);
    loop.lastLoadedGame = run.currentGame;
    setGameTitle(run.currentGame, run.titleName);
    setWindowTitle(emu.display, run.titleName, nullptr);
    setScreenSize(emu);
    uploadPalette(emu);
    displayClear(emu.display);
    takeSavedDips(emu);
    return true;
}

void changeGame(Emulator& emu, FrameLoop& loop)
{
    RunState& run = emu.run;
    if (!isCatalogueGame(run.requestedGame))
        return;
    const GameId previous = run.currentGame;
    saveHighScoresBeforeLeaving(previous);
    run.currentGame = run.requestedGame;
    if (run.currentGame == loop.lastLoadedGame || !loadNewGame(emu, loop)) {
        // Nothing new was loaded: the running game starts again with fresh extras.
        releaseExtras(previous);
    }
    setUpExtras(run.currentGame);
    loadGameSamples(run.currentGame);
    resetMachine(emu);
}

void showFps(Emulator& emu, FrameLoop& loop)
{
    if (emu.display.fullScreen)
        return;
    if (++loop.fpsIterations < kFpsInterval)
        return;
    const uint64_t nowMs = loop.clock.now() / 1000000;
    const uint64_t elapsedMs = nowMs > loop.fpsLastMs ? nowMs - loop.fpsLastMs : 1;
    loop.fpsShown = loop.fpsIterations / (static_cast<double>(elapsedMs) * 0.001);
    char status[32];
    std::snprintf(status, sizeof status, "FPS %2.2f", loop.fpsShown);
    setWindowTitle(emu.display, emu.run.titleName, status);
    loop.fpsLastMs = nowMs;
    loop.fpsIterations = 0;
}

void waitForRender(Emulator& emu, FrameLoop& loop)
{
    const int32_t fps = board().framesPerSecond;
    const int32_t frames = emu.settings.frameDisplay;
    if (loop.unpaced) {
        loop.lastPresent = loop.clock.now();
        return;
    }
    while (!paceFrame(loop, fps, frames)) {
        const uint64_t due = loop.lastPresent + loop.ticksPerRender;
        const uint64_t now = loop.clock.now();
        if (due > now + 2 * kSpinMargin)
            loop.clock.sleepUntil(due - kSpinMargin);
    }
}

} // namespace

PaceClock steadyPaceClock()
{
    using Clock = std::chrono::steady_clock;
    return {[] {
                return static_cast<uint64_t>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count());
            },
            [](uint64_t until) { std::this_thread::sleep_until(Clock::time_point(std::chrono::nanoseconds(until))); }};
}

void connectBoard(Emulator& emu)
{
    inputState().run = &emu.run;
    BoardIo& io = board().io;
    io.pollInput = pollInput;
    io.keyHeld = directKeyHeld;
    io.cheatMode = emu.run.cheatMode != 0;
    io.takeTrackballMotion = takeTrackballMotion;
    io.dips = &emu.run.dips;
    io.interruptEnable = &emu.run.interruptEnable[0];
    io.secondInterruptEnable = &emu.run.interruptEnable[1];
    io.soundCommand = soundCommand;
    sampleSets().showTitle = [&emu](const char* name) {
        setWindowTitle(emu.display, name ? name : emu.run.titleName, nullptr);
    };
    romFiles().romPath = emu.run.romPath;
    romFiles().reportError = [&emu](const std::string& text) { showError(emu, text); };
    highScores().note = [](const std::string& text) { std::fprintf(stderr, "vortastr: %s\n", text.c_str()); };
}

FrameLoopResult loadStartingGame(Emulator& emu)
{
    connectBoard(emu);
    if (loadCharacterSet(emu.run.currentGame) != 0) {
        showError(emu, kCantFindCharacterRoms);
        return FrameLoopResult::CharacterRomsMissing;
    }
    loadSpriteSet(emu.run.currentGame);
    uploadPalette(emu);
    return FrameLoopResult::Quit;
}

FrameLoopResult startFrameLoop(Emulator& emu, FrameLoop& loop)
{
    connectBoard(emu);
    RunState& run = emu.run;
    run.quitRequested = false;
    if (!loop.saveState)
        loop.saveState = [&emu](GameId game) { return saveStateOfGame(emu, game); };
    if (!loop.loadState)
        loop.loadState = [&emu](GameId game) { return loadStateOfGame(emu, game); };
    run.dips.a = 0;
    loop.fpsLastMs = loop.clock.now() / 1000000;
    loop.fpsIterations = 0;
    loop.fpsShown = 0;

    warnAbout16BitGames(emu);
    selectPaletteBank(emu.colours, 0); // a new board starts from the first palette bank
    const int status = setUpBoard(run.currentGame);
    if (status != kBoardOk) {
        if (status == kBoardRomMissing)
            showError(emu, kCantFindGameRoms);
        return FrameLoopResult::GameRomsMissing;
    }
    if (!pumpOneMessage(emu))
        return FrameLoopResult::Quit;
    displayClear(emu.display);
    setScreenSize(emu);
    displayClear(emu.display);
    loop.lastLoadedGame = run.currentGame;
    takeSavedDips(emu);
    setUpExtras(run.currentGame);
    loadGameSamples(run.currentGame);
    resetMachine(emu);
    loop.renderCountdown = 1;
    return FrameLoopResult::Quit;
}

void runOneFrame(Emulator& emu)
{
    Board& b = board();
    HighScoreState& scores = highScores();
    for (int32_t s = 0; s < b.slicesPerFrame; ++s) {
        b.currentSlice = s;
        runCpuSlice(b.slots, emu.run.currentGame);
        if (scores.pending)
            installHighScores(emu.run.currentGame, std::span<uint8_t>(b.data(), b.size()));
    }
    soundFrameDone(b.framesPerSecond);
}

void resetMachine(Emulator& emu)
{
    Board& b = board();
    resetAllCpus(b.slots);
    for (int32_t i = 0; i < b.slots.cpuCount && i < kCpuSlotCount; ++i)
        emu.run.interruptEnable[static_cast<std::size_t>(i)] |= 1;
    emu.run.cpuCount = b.slots.cpuCount;
}

bool paceFrame(FrameLoop& loop, int32_t fps, int32_t frames)
{
    if (fps != loop.pacedFps || frames != loop.pacedFrames) {
        loop.pacedFps = fps;
        loop.pacedFrames = frames;
        loop.ticksPerRender = fps > 0 && frames > 0 ? uint64_t(frames) * loop.frequency / uint64_t(fps) : 0;
    }
    const uint64_t now = loop.clock.now();
    if (now - loop.lastPresent < loop.ticksPerRender)
        return false;
    loop.lastPresent = now;
    return true;
}

void renderGame(Emulator& emu)
{
    const Board& b = board();
    displayRestoreLost(emu.display);
    syncPaletteRam(emu.run.currentGame, emu.display, emu.colours, b.data(), emu.settings.paletteCycling == 1);
    renderFrame(emu.display, emu.colours, b);
    displayPresent(emu.display);
}

void presentAndPace(Emulator& emu, FrameLoop& loop)
{
    if (!pumpOneMessage(emu))
        return;
    if (emu.settings.frameDisplay != kFrameDisplayNever && --loop.renderCountdown <= 0) {
        renderGame(emu);
        ++loop.renderedFrames;
        if (!pumpOneMessage(emu))
            return;
        waitForRender(emu, loop);
        loop.renderCountdown = emu.settings.frameDisplay;
    }
    showFps(emu, loop);
}

void carryOutFramePendingAction(Emulator& emu, FrameLoop& loop)
{
    RunState& run = emu.run;
    const int32_t action = run.pendingAction;
    run.pendingAction = NoAction;
    switch (action) {
    case ActionReset:
        saveHighScoresBeforeLeaving(run.currentGame);
        resetMachine(emu);
        loadHighScores(run.currentGame);
        break;
    case ActionChangeGame: changeGame(emu, loop); break;
    case ActionSaveState:
        if (loop.saveState)
            loop.saveState(run.currentGame);
        break;
    case ActionLoadState:
        if (loop.loadState && loop.loadState(run.currentGame) == kStateDone)
            afterStateLoaded(emu, loop);
        break;
    default: break;
    }
}

void afterStateLoaded(Emulator& emu, FrameLoop& loop)
{
    if (emu.display.paletted) {
        uploadGameEntries(emu.colours, emu.display.screen.palette());
        uploadGameEntries(emu.colours, emu.display.presented.palette());
    }
    resetRendererCaches(board());
    highScoresTakenFromState();
    loop.frameCounter = 0;
}

bool frameLoopIteration(Emulator& emu, FrameLoop& loop)
{
    RunState& run = emu.run;
    if (run.quitRequested)
        return false;
    applyInputScript(loop.script, ++loop.framesBegun, keyStates());
    if (!run.paused) {
        runOneFrame(emu);
        ++loop.frameCounter;
    }
    const KeyStateTable& keys = keyStates();
    const bool keysActive = !run.inputSuspended;
    if (keysActive && keys.isDown(Key::F7) && !loop.functionKeyLatch) {
        run.pendingAction = ActionSaveState;
        loop.functionKeyLatch = true;
    } else if (keysActive && keys.isDown(Key::F8) && !loop.functionKeyLatch) {
        run.pendingAction = ActionLoadState;
        loop.functionKeyLatch = true;
    } else {
        loop.functionKeyLatch = false;
    }
    carryOutFramePendingAction(emu, loop);
    presentAndPace(emu, loop);
    return !run.quitRequested;
}

void endFrameLoop(Emulator& emu) { releaseExtras(emu.run.currentGame); }

GameRunResult runGame(Emulator& emu, const LaunchOptions& options)
{
    RunState& run = emu.run;
    detectJoysticks(run, inputState().joysticks);
    run.useJoystick = run.joystickPresent && emu.settings.joystickSetting == 1 ? 1 : 0;
    FrameLoop loop;
    loop.unpaced = options.unpaced;
    loop.loadStatePath = options.loadStatePath;
    loop.saveStatePath = options.saveStatePath;
    std::string error;
    loop.script = parseInputScript(options.inputScript, error);

    GameRunResult result;
    if (loadStartingGame(emu) != FrameLoopResult::Quit) {
        releaseSheets();
        return {1, false};
    }
    if (runFrameLoop(emu, loop, options.frames) == FrameLoopResult::GameRomsMissing || loop.stateFileFailed)
        result.exitStatus = 1;
    board().memory = CpuMemory{};
    clearCpuSlots(board().slots);
    releaseSheets();
    return result;
}

FrameLoopResult runFrameLoop(Emulator& emu, FrameLoop& loop, int maxIterations)
{
    const FrameLoopResult started = startFrameLoop(emu, loop);
    if (started != FrameLoopResult::Quit)
        return started;
    if (!loop.loadStatePath.empty()) {
        std::string warning;
        if (loadStateFile(loop.loadStatePath, emu.colours, warning) == kStateDone)
            afterStateLoaded(emu, loop);
        else
            showWarning(emu, warning);
    }
    int iterations = 0;
    while (frameLoopIteration(emu, loop)) {
        if (maxIterations > 0 && ++iterations >= maxIterations)
            break;
    }
    if (!loop.saveStatePath.empty()) {
        std::string warning;
        if (saveStateFile(loop.saveStatePath, emu.colours, warning) != kStateDone) {
            showWarning(emu, warning.empty() ? "No state to save." : warning);
            loop.stateFileFailed = true;
        }
    }
    endFrameLoop(emu);
    return FrameLoopResult::Quit;
}

} // namespace vortastr
