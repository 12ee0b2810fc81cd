// The real main window and dialogs on Qt's offscreen platform.
#include "boards/board_setup.h"
#include "boards/game_catalogue.h"
#include "platform/about_dialog.h"
#include "platform/dip_dialog.h"
#include "platform/display_widget.h"
#include "platform/ini_settings_store.h"
#include "platform/main_window.h"
#include "platform/qt_host.h"
#include "resources/menu_resource.h"
#include "resources/resource_ids.h"
#include "shell/startup.h"
#include "shell/window_procedure.h"
#include "tests/fakes.h"
#include "tests/game_fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

// A started emulator on the Qt host with its real main window.
struct GuiEmulator {
    Emulator emu;
    QtHost host{false};
    MemoryStore store;
    std::vector<Message> messages;

    explicit GuiEmulator(const std::string& gameLine = "")
    {
        store.exists = false;
        emu.host = &host;
        host.setMessageHandler([this](const std::string& t, const std::string& c, MessageIcon i) {
            messages.push_back({t, c, i});
        });
        LaunchOptions options;
        options.gameLine = gameLine;
        prepareStartUp(emu, store, options);
        host.createMainWindow(emu);
        startDisplay(emu, host);
        QApplication::processEvents();
    }
    ~GuiEmulator() { host.destroyMainWindow(); }
    MainWindow& window() { return *host.mainWindow(); }
};

QAction* findMenuAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

TEST(MainWindowGui, MenuBarFromTheMenuTree)
{
    GuiEmulator gui;
    MainWindow& w = gui.window();
    EXPECT_EQ(w.windowTitle(), "Vorta Strike");
    QStringList titles;
    for (QMenu* menu : w.topMenus())
        titles << menu->title();
    EXPECT_EQ(titles, (QStringList{"&File", "&Game", "&Screen", "&Refresh", "&DipSw", "Help"}));
    // Help sits apart, at the right of the menu bar.
    EXPECT_FALSE(w.menuBar()->actions().contains(w.helpMenu()->menuAction()));
    ASSERT_NE(w.menuBar()->cornerWidget(Qt::TopRightCorner), nullptr);

    QMenu* game = w.topMenus()[1];
    QStringList groups;
    for (QAction* action : game->actions())
        groups << action->text();
    EXPECT_EQ(groups, (QStringList{"Atari", "Konami", "IREM", "More"}));
    QMenu* konami = game->actions()[1]->menu();
    ASSERT_NE(konami, nullptr);
    EXPECT_NE(findMenuAction(konami, "Track && Field"), nullptr);
    EXPECT_EQ(w.menuAction(40077)->text(), "Tutankhan");
}

TEST(MainWindowGui, MoreListsTheFurtherGamesAndSwitchesToThem)
{
    GuiEmulator gui;
    MainWindow& w = gui.window();
    QMenu* more = w.topMenus()[1]->actions().value(3)->menu();
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->title(), "More");
    QStringList shown;
    for (QAction* action : more->actions())
        shown << action->text();
    QStringList expected;
    for (GameId game : moreMenuGames())
        expected << QString::fromStdString(moreMenuText(game));
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(shown.contains("Scramble"));
    for (const GameInfo& info : gameCatalogue()) {
        if (info.title && !boardAvailable(info.id)) {
            EXPECT_FALSE(shown.contains(info.title)) << info.title;
        }
    }

    QAction* scramble = w.menuAction(40098);
    ASSERT_NE(scramble, nullptr);
    EXPECT_EQ(scramble->text(), "Scramble");
    scramble->trigger();
    EXPECT_EQ(gui.emu.run.requestedGame, Scramble);
    EXPECT_EQ(gui.emu.run.pendingAction, ActionChangeGame);
    gui.emu.run.currentGame = Scramble;
    w.refreshMenuStates();
    EXPECT_TRUE(scramble->isChecked());
    EXPECT_FALSE(w.menuAction(40084)->isChecked());
}

TEST(MainWindowGui, MenuItemsDispatchAndShowTheirMarks)
{
    GuiEmulator gui;
    MainWindow& w = gui.window();
    w.menuAction(CmdNever)->trigger();
    EXPECT_EQ(gui.emu.settings.frameDisplay, 99);
    w.topMenus()[3]->popup(w.mapToGlobal(QPoint(0, 0))); // opening sets the marks
    QApplication::processEvents();
    EXPECT_TRUE(w.menuAction(CmdNever)->isChecked());
    EXPECT_FALSE(w.menuAction(CmdEveryFrame)->isChecked());
    w.topMenus()[3]->hide();

    w.refreshMenuStates();
    EXPECT_FALSE(w.menuAction(CmdPaletteCycling)->isEnabled()); // 16-bit screen
    EXPECT_FALSE(w.menuAction(CmdJoystick)->isEnabled());       // no joystick
    EXPECT_TRUE(w.menuAction(CmdKeyboard)->isChecked());
    EXPECT_TRUE(w.menuAction(40084)->isChecked());
    EXPECT_FALSE(w.menuAction(CmdScale1)->isCheckable());
}

TEST(MainWindowGui, WindowFollowsTheScale)
{
    GuiEmulator gui;
    MainWindow& w = gui.window();
    EXPECT_EQ(w.displayWidget()->size(), QSize(256, 256));
    w.menuAction(CmdScale2)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w.displayWidget()->size(), QSize(512, 512));
    EXPECT_EQ(gui.emu.settings.windowScaleX, 2);
    EXPECT_EQ(gui.emu.display.destRect.width(), 512);
    w.menuAction(CmdScale3)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w.displayWidget()->size(), QSize(768, 768));
}

TEST(MainWindowGui, AcceleratorsAreConsumedByTheWindow)
{
    GuiEmulator gui;
    MainWindow& w = gui.window();
    QApplication::setActiveWindow(&w);
    w.displayWidget()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.displayWidget(), Qt::Key_P);
    EXPECT_TRUE(gui.emu.run.paused);
    QTest::keyClick(w.displayWidget(), Qt::Key_J); // greyed without a joystick
    EXPECT_EQ(gui.emu.run.useJoystick, 0);
    gui.emu.run.joystickPresent = 1;
    QTest::keyClick(w.displayWidget(), Qt::Key_J);
    EXPECT_EQ(gui.emu.run.useJoystick, 1);
    QTest::keyClick(w.displayWidget(), Qt::Key_K);
    EXPECT_EQ(gui.emu.run.useJoystick, 0);
    QTest::keyClick(w.displayWidget(), Qt::Key_P);
    EXPECT_FALSE(gui.emu.run.paused);
    EXPECT_FALSE(gui.emu.run.quitPosted);
    QTest::keyClick(w.displayWidget(), Qt::Key_Escape);
    EXPECT_TRUE(gui.emu.run.quitPosted);
}

TEST(MainWindowGui, ClosingAsksTheLoopToEnd)
{
    GuiEmulator gui;
    gui.window().close();
    EXPECT_TRUE(gui.emu.run.quitPosted);
    EXPECT_TRUE(gui.window().isVisible());
}

TEST(MainWindowGui, MessageBoxesGoThroughTheHost)
{
    GuiEmulator gui;
    gui.window().menuAction(CmdSound)->trigger();
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_EQ(gui.messages[0].caption, "NOTE");
}

TEST(MainWindowGui, FullScreenIsABorderlessWindowShowingTheModeScaled)
{
    GuiEmulator gui("r1 -fullscreen");
    MainWindow& w = gui.window();
    QApplication::processEvents();
    EXPECT_EQ(gui.emu.run.currentGame, 28);
    EXPECT_TRUE(w.isFullScreen());
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.displayWidget()->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(gui.emu.display.screen.width(), 400);
    displayPresent(gui.emu.display);
    EXPECT_EQ(w.displayWidget()->image().size(), QSize(400, 300));
    // The 4:3 buffer keeps its shape inside the display area, centred.
    const QRect target = w.displayWidget()->targetRect();
    EXPECT_NEAR(double(target.width()) / target.height(), 4.0 / 3.0, 0.02);
    EXPECT_EQ(target.center(), w.displayWidget()->rect().center());
    w.refreshMenuStates();
    EXPECT_FALSE(w.menuAction(CmdScale2)->isEnabled());
    EXPECT_TRUE(w.menuAction(CmdFullScreen)->isChecked());
}

TEST(DipDialogGui, ShowsTheGamesLabelsAndDisablesUnusedSlots)
{
    for (const DipRecord& record : dipTable()) {
        const GameId game = record.game;
        DipBytes dips = dipDefaults(game);
        DipDialogSession session(record, dips);
        DipDialog dialog(session, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Dipswitch Settings");
        EXPECT_EQ(dialog.findChildren<QComboBox*>().size(), 16);
        for (int slot = 0; slot < kDipDialogSlots; ++slot) {
            const bool used = slot < static_cast<int>(record.settings.size());
            EXPECT_EQ(dialog.list(slot)->isEnabled(), used) << game << "/" << slot;
            if (used) {
                const DipSetting& s = record.settings[static_cast<std::size_t>(slot)];
                EXPECT_EQ(dialog.label(slot)->text(), s.label);
                EXPECT_EQ(dialog.list(slot)->count(), static_cast<int>(s.options.size()));
                EXPECT_EQ(dialog.list(slot)->currentIndex(), s.defaultOption);
            } else {
                EXPECT_TRUE(dialog.label(slot)->text().isEmpty());
            }
        }
    }
}

TEST(DipDialogGui, ListsDefaultOkAndCancelThroughTheCommand)
{
    GuiEmulator gui;
    gui.host.setDialogRunner([](QDialog& d) {
        auto& dialog = static_cast<DipDialog&>(d);
        dialog.list(4)->setCurrentIndex(7); // HARDEST
        dialog.button(kDipDefaultButton)->click();
        EXPECT_EQ(dialog.list(4)->currentIndex(), 1);
        dialog.list(2)->setCurrentIndex(3); // 99 ships
        dialog.show();
        dialog.button(CmdOk)->click();
        return dialog.result();
    });
    gui.window().menuAction(CmdSetDipswitches)->trigger();
    EXPECT_EQ(gui.emu.run.dips.b, 0x97);

    gui.host.setDialogRunner([](QDialog& d) {
        auto& dialog = static_cast<DipDialog&>(d);
        dialog.list(0)->setCurrentIndex(15);
        dialog.show();
        dialog.button(CmdCancel)->click();
        return dialog.result();
    });
    gui.window().menuAction(CmdSetDipswitches)->trigger();
    EXPECT_EQ(gui.emu.run.dips.a, 0x00);
    EXPECT_EQ(gui.emu.run.dips.b, 0x97);
}

TEST(AboutDialogGui, ShowsBothLinesAndClosesWithOk)
{
    GuiEmulator gui;
    QString caption, version;
    gui.host.setDialogRunner([&](QDialog& d) {
        caption = d.windowTitle();
        version = static_cast<LayoutDialog&>(d).control<QLabel>(kAboutVersionText)->text();
        d.show();
        static_cast<LayoutDialog&>(d).control<QPushButton>(CmdOk)->click();
        return d.result();
    });
    gui.window().menuAction(CmdAbout)->trigger();
    EXPECT_EQ(caption, "About Vorta Strike Emulator");
    EXPECT_EQ(version, "Version 1.22");
}

TEST(HeadlessHost, MessagesGoToStandardError)
{
    QtHost host(true);
    testing::internal::CaptureStderr();
    host.messageBox("ERROR - Can't find Character ROMs", "Emulator Error", MessageIcon::Error);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Emulator Error: ERROR - Can't find Character ROMs\n");
    EXPECT_EQ(host.runAboutDialog(aboutText()), CmdCancel);
}

TEST(Snapshot, PngHoldsThePresentedColours)
{
    QTemporaryDir dir;
    for (PixelFormat format : {PixelFormat::Indexed8, PixelFormat::Rgb565}) {
        ScreenSurface surface(8, 4, format);
        surface.palette()[21] = 0xFF804020u;
        if (format == PixelFormat::Indexed8)
            surface.pixels()[8 * 2 + 3] = 21;
        else
            surface.fill(0xF800);
        const std::string path = dir.filePath("s.png").toStdString();
        std::string error;
        ASSERT_TRUE(writeSurfacePng(surface, path, error)) << error;
        QImage image(QString::fromStdString(path));
        ASSERT_EQ(image.size(), QSize(8, 4));
        if (format == PixelFormat::Indexed8) {
            EXPECT_EQ(image.pixel(3, 2), 0xFF804020u);
            EXPECT_EQ(image.pixel(0, 0), 0xFF000000u);
        } else {
            EXPECT_EQ(image.pixel(5, 3), 0xFFFF0000u);
        }
    }
    std::string error;
    EXPECT_FALSE(writeSurfacePng(ScreenSurface(2, 2, PixelFormat::Rgb565), "/nonexistent/dir/x.png", error));
    EXPECT_FALSE(error.empty());
}

TEST(IniStore, RoundTripAndUnreadableValues)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("sub/vortastr.ini").toStdString();
    IniSettingsStore store(path);
    EXPECT_FALSE(store.openForReading());

    Settings s;
    s.savedDipB[9] = 0x94;
    s.frameDisplay = 99;
    s.savedDipA[3] = -5;
    ASSERT_EQ(saveSettings(settingsTable(s), store), 1);

    Settings back;
    back.frameDisplay = 2;
    IniSettingsStore reread(path);
    ASSERT_EQ(loadSettings(settingsTable(back), reread), 1);
    EXPECT_EQ(back.frameDisplay, 99);
    EXPECT_EQ(back.savedDipB[9], 0x94);
    EXPECT_EQ(back.savedDipA[3], -5);

    {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("[other]\nx=1\n");
    }
    QSettings raw(QString::fromStdString(path), QSettings::IniFormat);
    raw.beginGroup(kSettingsGroup);
    raw.setValue("Frame Display", "three");
    raw.setValue("Sound", "0x10");
    raw.setValue("Screen Size X", "4294967295");
    raw.setValue("Screen Size Y", "4294967296");
    raw.endGroup();
    raw.sync();
    IniSettingsStore odd(path);
    ASSERT_TRUE(odd.openForReading());
    EXPECT_EQ(odd.readDword("Frame Display"), std::nullopt);
    EXPECT_EQ(odd.readDword("Sound"), 16);
    EXPECT_EQ(odd.readDword("Screen Size X"), -1);
    EXPECT_EQ(odd.readDword("Screen Size Y"), std::nullopt);
    EXPECT_EQ(odd.readDword("Missing"), std::nullopt);
}

TEST(IniStore, FileWithoutTheGroupCountsAsMissing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("v.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nFrame%20Display=3\n");
    file.close();
    IniSettingsStore store(path.toStdString());
    EXPECT_FALSE(store.openForReading());
}

TEST(WholeRun, GuiRunEndsAfterTheFramesAndWritesItsSettings)
{
    QTemporaryDir dir;
    const std::string ini = dir.filePath("v.ini").toStdString();
    Emulator emu;
    QtHost host(false);
    IniSettingsStore store(ini);
    LaunchOptions options;
    options.gameLine = "TK";
    options.frames = 3;
    TempFolder roms;
    writeBlankRomSet(roms, Tutankham);
    options.romPath = roms.str();
    options.snapshotPath = dir.filePath("snap.png").toStdString();
    EXPECT_EQ(runEmulator(emu, host, store, options), 0);
    EXPECT_EQ(host.mainWindow(), nullptr);
    QImage snap(QString::fromStdString(options.snapshotPath));
    EXPECT_EQ(snap.size(), QSize(256, 256));
    IniSettingsStore reread(ini);
    Settings back;
    ASSERT_EQ(loadSettings(settingsTable(back), reread), 1);
    EXPECT_EQ(back.savedDipB[8], 0x94);
}

} // namespace
} // namespace vortastr::test
