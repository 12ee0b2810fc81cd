#include "boards/board_setup.h"
#include "boards/game_catalogue.h"
#include "resources/about_text.h"
#include "resources/menu_resource.h"
#include "resources/resource_ids.h"
#include "shell/main_loop.h"
#include "shell/window_procedure.h"
#include "tests/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>

namespace vortastr::test {
namespace {

std::vector<std::string> texts(const std::vector<MenuEntry>& entries)
{
    std::vector<std::string> out;
    for (const MenuEntry& e : entries)
        out.push_back(
            e.kind == MenuEntry::Kind::Separator ? "-" : e.text + (e.command ? ":" + std::to_string(e.command) : ""));
    return out;
}

TEST(MenuTree, TextsIdentifiersAndOrder)
{
    const auto& menu = mainMenu();
    ASSERT_EQ(texts(menu), (std::vector<std::string>{"&File", "&Game", "&Screen", "&Refresh", "&DipSw", "Help"}));
    EXPECT_TRUE(menu[5].rightJustified);
    EXPECT_EQ(texts(menu[0].children),
              (std::vector<std::string>{"&Keyboard:40027", "&Joystick:40028", "-", "&Sound:40086", "-", "&Pause:40022",
                                        "-", "ROM Audit...:40200", "-", "&Exit:40005"}));
    EXPECT_EQ(texts(menu[1].children), (std::vector<std::string>{"Atari", "Konami", "IREM", "More"}));
    EXPECT_EQ(texts(menu[1].children[0].children), (std::vector<std::string>{"Crystal Castles:40075"}));
    EXPECT_EQ(texts(menu[1].children[1].children),
              (std::vector<std::string>{"Vorta Strike:40084", "Vorta Strike Bootleg:40091", "Tutankhan:40077",
                                        "Track && Field:40090", "Hyper Sports:40092", "Rock 'n' Rope:40093",
                                        "Circus Charlie:40094", "Circus Charlie 2:40096"}));
    EXPECT_EQ(texts(menu[1].children[2].children),
              (std::vector<std::string>{"RType I:40106", "RType II:40105", "Legend of Hero Tomna:40117"}));
    EXPECT_EQ(texts(menu[2].children), (std::vector<std::string>{"Full Screen:40113", "-", "Palette Cycling:40079", "-",
                                                                 "1x1:40006", "2x2:40007", "3x3:40008"}));
    EXPECT_EQ(texts(menu[3].children),
              (std::vector<std::string>{"Never:40013", "Every Frame:40009", "Every 2nd Frame:40010",
                                        "Every 3rd Frame:40011", "Every 4th Frame:40012"}));
    EXPECT_EQ(texts(menu[4].children), (std::vector<std::string>{"Set Dipswitches:40087", "-", "Reset:40021"}));
    EXPECT_EQ(texts(menu[5].children), (std::vector<std::string>{"About:40023"}));
    EXPECT_EQ(plainMenuText("Track && Field"), "Track & Field");
    EXPECT_EQ(plainMenuText("&Exit"), "Exit");
}

TEST(MenuTree, AcceleratorsAndEveryCommandKnown)
{
    const auto& accel = acceleratorTable();
    ASSERT_EQ(accel.size(), 4u);
    EXPECT_EQ(accel[0].command, CmdJoystick);
    EXPECT_EQ(accel[1].command, CmdKeyboard);
    EXPECT_EQ(accel[2].command, CmdPause);
    EXPECT_EQ(accel[3].command, CmdExit);

    const std::vector<int> commands = menuCommands(mainMenu());
    EXPECT_EQ(std::set<int>(commands.begin(), commands.end()).size(), commands.size());
    for (int command : commands) {
        StartedEmulator started;
        EXPECT_EQ(dispatchCommand(started.emu, command), 0) << command;
    }
    StartedEmulator started;
    EXPECT_EQ(dispatchCommand(started.emu, 40001), -1);
}

TEST(MenuTree, AcceleratorOfAGreyedItemDoesNothing)
{
    struct Case {
        const char* what;
        int32_t joystickPresent;
        int command;
        int result;
        int32_t useJoystick;
        bool paused;
    };
    const Case cases[] = {
        {"J without a joystick", 0, CmdJoystick, -1, 0, false},
        {"J with a joystick", 1, CmdJoystick, 0, 1, false},
        {"K", 0, CmdKeyboard, 0, 0, false},
        {"P", 0, CmdPause, 0, 0, true},
    };
    for (const Case& c : cases) {
        StartedEmulator started;
        started.emu.run.joystickPresent = c.joystickPresent;
        EXPECT_EQ(dispatchAccelerator(started.emu, c.command), c.result) << c.what;
        EXPECT_EQ(started.emu.run.useJoystick, c.useJoystick) << c.what;
        EXPECT_EQ(started.emu.run.paused, c.paused) << c.what;
    }
    StartedEmulator started;
    EXPECT_EQ(dispatchAccelerator(started.emu, CmdExit), 0);
    EXPECT_TRUE(started.emu.run.quitPosted);
}

// The identifiers the window procedure knows beyond the shipped items, with their games.
struct ReservedCommand {
    int command;
    GameId game;
};
constexpr ReservedCommand kReservedCommands[] = {
    {40057, Tank},         {40073, Vanguard},  {40074, Eggs},         {40076, Zoar},      {40078, PandorasPalace},
    {40080, TunnelHunt},   {40082, IronHorse}, {40083, SkyKid},       {40095, JailBreak}, {40097, Tazmania},
    {40098, Scramble},     {40099, RopeMan},   {40100, SuperBond},    {40101, WhizQuiz},  {40102, MasterT},
    {40103, RoadFighters}, {40104, MegaZone},  {40107, ShaolinsRoad}, {40108, RTypeLeo},  {40111, InTheHunt},
};
// Our own identifiers for the running games that were given none.
constexpr ReservedCommand kFurtherCommands[] = {
    {40201, RTypeJapanese}, {40202, NewZealandStory}, {40203, DragonBreed}, {40204, Kengo}, {40205, UnderCps},
};

const ReservedCommand* commandOfMoreItem(int command)
{
    for (const auto& table :
         {std::span<const ReservedCommand>(kReservedCommands), std::span<const ReservedCommand>(kFurtherCommands)})
        for (const ReservedCommand& c : table)
            if (c.command == command)
                return &c;
    return nullptr;
}

const MenuEntry& moreMenu()
{
    const MenuEntry& game = mainMenu()[1];
    EXPECT_EQ(game.children.size(), 4u);
    return game.children.back();
}

TEST(GameCommands, ReservedIdentifiersSelectTheirGamesListedInMoreWhenTheBoardRuns)
{
    std::vector<ReservedCommand> all(std::begin(kReservedCommands), std::end(kReservedCommands));
    all.insert(all.end(), std::begin(kFurtherCommands), std::end(kFurtherCommands));
    for (const ReservedCommand& c : all) {
        StartedEmulator started;
        const MenuEntry* item = findMenuItem(mainMenu(), c.command);
        EXPECT_EQ(item != nullptr, boardAvailable(c.game)) << c.command;
        EXPECT_EQ(findMenuItem(moreMenu().children, c.command), item) << c.command;
        if (item) {
            const GameInfo* info = gameInfo(c.game);
            EXPECT_EQ(item->text, info->title ? info->title : info->romDirectory) << c.command;
        }
        ASSERT_EQ(dispatchCommand(started.emu, c.command), 0) << c.command;
        EXPECT_EQ(started.emu.run.requestedGame, c.game);
        EXPECT_EQ(started.emu.run.pendingAction, ActionChangeGame);
    }
}

TEST(GameCommands, MoreListsOnlyRunningBoardsUnderTheirReservedIdentifiersInCatalogueOrder)
{
    const MenuEntry& more = moreMenu();
    EXPECT_EQ(more.text, "More");
    ASSERT_FALSE(more.children.empty());
    GameId previous = NoGame;
    for (const MenuEntry& item : more.children) {
        ASSERT_EQ(item.kind, MenuEntry::Kind::Item);
        const ReservedCommand* reserved = commandOfMoreItem(item.command);
        ASSERT_NE(reserved, nullptr) << item.text << " carries " << item.command;
        EXPECT_TRUE(boardAvailable(reserved->game)) << item.text;
        EXPECT_GT(reserved->game, previous) << item.text;
        previous = reserved->game;
    }
    EXPECT_EQ(more.children.size(), moreMenuGames().size());
}

TEST(GameCommands, EveryRunningGameOfTheCatalogueCanBeChosenFromTheGameMenuUnderAnIdentifierOfItsOwn)
{
    const std::vector<int> commands = menuCommands(mainMenu());
    for (const GameInfo& info : gameCatalogue()) {
        if (!boardAvailable(info.id))
            continue;
        EXPECT_EQ(std::count(commands.begin(), commands.end(), info.command), 1) << info.id;
        EXPECT_EQ(gameForCommand(info.command), info.id) << info.id;
    }
}

TEST(GameCommands, MoreItemsChangeTheGameLikeTheShippedOnes)
{
    for (GameId game : moreMenuGames()) {
        StartedEmulator started("", 8);
        Emulator& emu = started.emu;
        emu.run.dips = {0x5A, 0xA5};
        ASSERT_EQ(dispatchCommand(emu, gameInfo(game)->command), 0) << game;
        EXPECT_EQ(emu.settings.savedDipA[VortaStrike], 0x5A) << game;
        EXPECT_EQ(emu.settings.savedDipB[VortaStrike], 0xA5) << game;
        EXPECT_EQ(emu.run.currentGame, VortaStrike) << game;
        EXPECT_EQ(emu.run.requestedGame, game);
        EXPECT_EQ(emu.run.pendingAction, ActionChangeGame);
        EXPECT_EQ(started.host.messages.size(), needs16BitScreen(game) ? 1u : 0u) << game;
        const MenuItemState before = menuItemState(emu, gameInfo(game)->command);
        EXPECT_TRUE(before.checkable && before.enabled && !before.checked) << game;
        emu.run.currentGame = game;
        EXPECT_TRUE(menuItemState(emu, gameInfo(game)->command).checked) << game;
        EXPECT_FALSE(menuItemState(emu, 40084).checked) << game;
    }
}

TEST(GameCommands, ChoosingAGameKeepsTheRunningDipsAndLeavesTheChangeToTheLoop)
{
    StartedEmulator started;
    Emulator& emu = started.emu;
    emu.run.dips = {0x11, 0x22};
    dispatchCommand(emu, 40077); // Tutankhan
    EXPECT_EQ(emu.settings.savedDipA[9], 0x11);
    EXPECT_EQ(emu.settings.savedDipB[9], 0x22);
    EXPECT_EQ(emu.run.currentGame, 9); // until the frame loop carries it out
    EXPECT_EQ(emu.run.requestedGame, 8);
    EXPECT_EQ(emu.run.pendingAction, ActionChangeGame);
    EXPECT_TRUE(started.host.messages.empty());
}

TEST(GameCommands, SixteenBitNoteOnlyForV30GamesInAnEightBitWindow)
{
    struct Case {
        int depth;
        int command;
        bool note;
    };
    for (const Case c : {Case{8, 40106, true}, Case{8, 40105, true}, Case{8, 40117, true}, Case{8, 40084, false},
                         Case{16, 40106, false}}) {
        StartedEmulator started("", c.depth);
        dispatchCommand(started.emu, c.command);
        ASSERT_EQ(started.host.messages.size(), c.note ? 1u : 0u) << c.command;
        if (c.note) {
            EXPECT_EQ(started.host.messages[0].text, "NOTE - This game will only run on a 16bit desktop");
            EXPECT_EQ(started.host.messages[0].caption, "Emulator Warning");
        }
    }
}

TEST(Commands, SettingsChangedByTheMenus)
{
    struct Case {
        int command;
        std::function<int(const Emulator&)> read;
        int expected;
    };
    const Case cases[] = {
        {CmdNever, [](const Emulator& e) { return e.settings.frameDisplay; }, 99},
        {CmdEvery3rdFrame, [](const Emulator& e) { return e.settings.frameDisplay; }, 3},
        {CmdPaletteCycling, [](const Emulator& e) { return e.settings.paletteCycling; }, 1},
        {CmdJoystick, [](const Emulator& e) { return e.run.useJoystick; }, 1},
        {CmdReset, [](const Emulator& e) { return e.run.pendingAction; }, ActionReset},
        {CmdScale3, [](const Emulator& e) { return e.settings.windowScaleX; }, 3},
        {CmdExit, [](const Emulator& e) { return int(e.run.quitPosted); }, 1},
        {CmdCancel, [](const Emulator& e) { return int(e.run.quitPosted); }, 1},
    };
    for (const Case& c : cases) {
        StartedEmulator started;
        dispatchCommand(started.emu, c.command);
        EXPECT_EQ(c.read(started.emu), c.expected) << c.command;
        EXPECT_TRUE(started.host.messages.empty()) << c.command;
    }
}

TEST(Commands, SoundAndFullScreenOnlyChangeWhatIsStoredAndSaySo)
{
    StartedEmulator started;
    Emulator& emu = started.emu;
    emu.run.soundEnabled = 1;
    dispatchCommand(emu, CmdSound);
    EXPECT_EQ(emu.run.soundEnabled, 0);
    dispatchCommand(emu, CmdFullScreen);
    EXPECT_EQ(emu.settings.fullScreenSetting, 1);
    EXPECT_FALSE(emu.display.fullScreen);
    ASSERT_EQ(started.host.messages.size(), 2u);
    EXPECT_EQ(started.host.messages[0].text,
              "Note : The sound setting will not take effect until you restart the emulator");
    EXPECT_EQ(started.host.messages[0].caption, "NOTE");
    EXPECT_EQ(started.host.messages[1].text, "Screen mode will not change until the Emulator is restarted");
    EXPECT_EQ(started.host.messages[1].caption, "Emulator Warning");
    EXPECT_TRUE(started.host.cursorCalls.empty()); // the cursor is only touched in full screen
}

TEST(Commands, PauseSavesAndRestoresTheInterruptLatches)
{
    StartedEmulator started;
    RunState& run = started.emu.run;
    run.cpuCount = 1;
    run.interruptEnable = {1, 1};
    dispatchCommand(started.emu, CmdPause);
    EXPECT_TRUE(run.paused);
    EXPECT_EQ(run.interruptEnable[0], 0);
    EXPECT_EQ(run.interruptEnable[1], 1); // not scheduled
    dispatchCommand(started.emu, CmdPause);
    EXPECT_FALSE(run.paused);
    EXPECT_EQ(run.interruptEnable[0], 1);
}

TEST(Commands, DialogsRunWithTheRunningGame)
{
    StartedEmulator started;
    started.host.dipAnswer = [](DipDialogSession& s) {
        EXPECT_STREQ(s.record().name, "Vorta Strike");
        s.select(5, 0); // Demo Sound OFF
        return 1;
    };
    dispatchCommand(started.emu, CmdSetDipswitches);
    EXPECT_EQ(started.host.dipRuns, 1);
    EXPECT_EQ(started.emu.run.dips.b, 0x14);
    dispatchCommand(started.emu, CmdAbout);
    EXPECT_EQ(started.host.aboutRuns, 1);
    EXPECT_EQ(started.host.lastAbout.version, "Version 1.22");

    StartedEmulator tank("ZK");
    dispatchCommand(tank.emu, CmdSetDipswitches);
    EXPECT_EQ(tank.host.dipRuns, 0);
}

TEST(Activation, ApplicationDeactivationPausesAndActivationAlwaysResumes)
{
    StartedEmulator started;
    Emulator& emu = started.emu;
    dispatchCommand(emu, CmdPause);
    onApplicationActivate(emu, false);
    EXPECT_EQ(started.host.output.title, "Vorta Strike - PAUSED");
    EXPECT_TRUE(emu.run.paused);
    onApplicationActivate(emu, true);
    EXPECT_FALSE(emu.run.paused);
    EXPECT_EQ(started.host.output.title, "Vorta Strike");

    onWindowActivate(emu, false);
    EXPECT_TRUE(emu.display.suspended);
    EXPECT_TRUE(emu.run.inputSuspended);
    const int presents = started.host.output.presents;
    displayPresent(emu.display);
    EXPECT_EQ(started.host.output.presents, presents);
    onWindowActivate(emu, true);
    EXPECT_FALSE(emu.display.suspended);
    EXPECT_FALSE(emu.run.inputSuspended);
}

TEST(Activation, ActivationAfterAMenuPauseGivesTheLatchesBack)
{
    struct Case {
        const char* what;
        bool menuPause;
    };
    for (const Case c : {Case{"menu pause", true}, Case{"inactive only", false}}) {
        StartedEmulator started;
        RunState& run = started.emu.run;
        run.cpuCount = 1;
        run.interruptEnable = {1, 1};
        if (c.menuPause)
            dispatchCommand(started.emu, CmdPause);
        onApplicationActivate(started.emu, false);
        EXPECT_TRUE(run.paused) << c.what;
        EXPECT_EQ(run.interruptEnable[0], c.menuPause ? 0 : 1) << c.what;
        onApplicationActivate(started.emu, true);
        EXPECT_FALSE(run.paused) << c.what;
        EXPECT_EQ(run.interruptEnable[0], 1) << c.what;
        EXPECT_EQ(run.interruptEnable[1], 1) << c.what;
        // The next pause from the menu still works from the restored latches.
        dispatchCommand(started.emu, CmdPause);
        dispatchCommand(started.emu, CmdPause);
        EXPECT_EQ(run.interruptEnable[0], 1) << c.what;
    }
}

TEST(MenuState, CheckMarksAndGreying)
{
    struct Case {
        const char* what;
        std::function<void(Emulator&)> set;
        int command;
        MenuItemState expected;
    };
    const Case cases[] = {
        {"never", [](Emulator& e) { e.settings.frameDisplay = 99; }, CmdNever, {true, true, true}},
        {"every frame off", [](Emulator& e) { e.settings.frameDisplay = 99; }, CmdEveryFrame, {true, false, true}},
        {"every 4th", [](Emulator& e) { e.settings.frameDisplay = 4; }, CmdEvery4thFrame, {true, true, true}},
        {"full screen", [](Emulator& e) { e.settings.fullScreenSetting = 1; }, CmdFullScreen, {true, true, true}},
        {"cycling 16-bit", [](Emulator& e) { e.settings.paletteCycling = 1; }, CmdPaletteCycling, {true, true, false}},
        {"cycling 8-bit", [](Emulator& e) { e.display.paletted = true; }, CmdPaletteCycling, {true, false, true}},
        {"paused", [](Emulator& e) { e.run.paused = true; }, CmdPause, {true, true, true}},
        {"keyboard", [](Emulator& e) { e.run.useJoystick = 0; }, CmdKeyboard, {true, true, true}},
        {"joystick absent", [](Emulator& e) { e.run.useJoystick = 1; }, CmdJoystick, {true, true, false}},
        {"joystick present", [](Emulator& e) { e.run.joystickPresent = 1; }, CmdJoystick, {true, false, true}},
        {"sound", [](Emulator& e) { e.run.soundEnabled = 1; }, CmdSound, {true, true, true}},
        {"scale windowed", [](Emulator&) {}, CmdScale2, {false, false, true}},
        {"scale full screen", [](Emulator& e) { e.display.fullScreen = true; }, CmdScale2, {false, false, false}},
        {"running game", [](Emulator&) {}, 40084, {true, true, true}},
        {"other game", [](Emulator&) {}, 40091, {true, false, true}},
        {"about", [](Emulator&) {}, CmdAbout, {false, false, true}},
    };
    for (const Case& c : cases) {
        StartedEmulator started;
        c.set(started.emu);
        const MenuItemState state = menuItemState(started.emu, c.command);
        EXPECT_EQ(state.checkable, c.expected.checkable) << c.what;
        EXPECT_EQ(state.checked, c.expected.checked) << c.what;
        EXPECT_EQ(state.enabled, c.expected.enabled) << c.what;
    }
}

TEST(MessagePump, PumpsTheHostAndEndsTheLoopOnceTheQuitMessageArrives)
{
    StartedEmulator started;
    EXPECT_TRUE(pumpOneMessage(started.emu));
    EXPECT_EQ(started.host.pumps, 1);
    started.host.onPump = [&] { dispatchCommand(started.emu, CmdExit); };
    EXPECT_FALSE(pumpOneMessage(started.emu));
    EXPECT_TRUE(started.emu.run.quitRequested);
    started.host.onPump = nullptr;
    EXPECT_FALSE(pumpOneMessage(started.emu)) << "the quit stays seen";
}

TEST(AboutText, StoredComplementedAndDecodedIntoABoundedBuffer)
{
    const AboutText text = aboutText();
    EXPECT_FALSE(text.product.empty());
    EXPECT_EQ(text.version, "Version 1.22");
    EXPECT_EQ(versionString(), "1.22");
    const auto stored = storedProductLine();
    ASSERT_EQ(stored.size(), text.product.size() + 1);
    for (std::size_t i = 0; i < text.product.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char>(~stored[i]), static_cast<unsigned char>(text.product[i]));
    EXPECT_EQ(stored.back(), 0xFF);

    const std::vector<unsigned char> unterminated(300, static_cast<unsigned char>(~'x'));
    EXPECT_EQ(decodeComplementedLine(unterminated).size(), kAboutLineBuffer - 1);
}

} // namespace
} // namespace vortastr::test
