// The emulator under faults: a snapshot onto a full device, a settings lock left by a killed run,
// SIGTERM while a message box waits, and file names that are not UTF-8. The program is run as a
// child process where the fault is in how the whole program behaves.
#include "platform/ini_settings_store.h"
#include "platform/qt_host.h"
#include "platform/quit_signals.h"
#include "platform/whole_file_write.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

#include <QApplication>
#include <QLockFile>
#include <QMessageBox>
#include <QSysInfo>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace vortastr {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using TempFolder = suite::test::TempDir;

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A child run of the emulator with stderr in a file; ended with SIGKILL if it outlives `limit`.
struct ChildRun {
    int status = -1;
    bool timedOut = false;
    std::string stderrText;
};

ChildRun runEmulator(std::vector<std::string> args, const fs::path& folder, std::chrono::seconds limit,
                     std::chrono::milliseconds termAfter = std::chrono::milliseconds(-1))
{
    args.insert(args.begin(), VORTASTR_BINARY);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string errPath = (folder / "stderr.txt").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ChildRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return run;
    posix_spawn_file_actions_destroy(&actions);
    const auto start = Clock::now();
    bool termSent = false;
    for (;;) {
        if (::waitpid(pid, &run.status, WNOHANG) == pid)
            break;
        const auto elapsed = Clock::now() - start;
        if (!termSent && termAfter.count() >= 0 && elapsed >= termAfter) {
            ::kill(pid, SIGTERM);
            termSent = true;
        }
        if (elapsed > limit) {
            run.timedOut = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &run.status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    run.stderrText = readAll(errPath);
    return run;
}

int exitCode(const ChildRun& run) { return WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1; }

TEST(SnapshotFile, FullDeviceFailsWithTheReasonAndExitOne)
{
    TempFolder folder;
    const ChildRun run = runEmulator({"JN", "--rompath", VORTASTR_TESTROMS, "--headless", "--unpaced", "--frames", "5",
                                      "--config", (folder.path() / "v.ini").string(), "--snapshot", "/dev/full"},
                                     folder.path(), std::chrono::seconds(60));
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(exitCode(run), 1);
    EXPECT_NE(run.stderrText.find("Couldn't write the snapshot \"/dev/full\": No space left on device"),
              std::string::npos)
        << run.stderrText;
}

TEST(SnapshotFile, NameThatIsNotUtf8IsKeptByteForByte)
{
    TempFolder folder;
    const std::string name = (folder.path() / "shot\xfe.png").string();
    const ChildRun run = runEmulator({"JN", "--rompath", VORTASTR_TESTROMS, "--headless", "--unpaced", "--frames", "5",
                                      "--config", (folder.path() / "v.ini").string(), "--snapshot", name},
                                     folder.path(), std::chrono::seconds(60));
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(exitCode(run), 0) << run.stderrText;
    EXPECT_EQ(readAll(name).substr(0, 4), "\x89PNG");
}

TEST(SettingsFile, NameThatIsNotUtf8IsKeptByteForByteAndReadBack)
{
    TempFolder folder;
    const std::string ini = (folder.path() / "v\xfe.ini").string();
    std::ofstream(ini) << "[Vorta%20Strike%20Emulator]\nSound=0\n[Other]\nkept=yes\n";
    const ChildRun run =
        runEmulator({"JN", "--rompath", VORTASTR_TESTROMS, "--headless", "--unpaced", "--frames", "5", "--config", ini},
                    folder.path(), std::chrono::seconds(60));
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(exitCode(run), 0) << run.stderrText;
    const std::string written = readAll(ini);
    EXPECT_NE(written.find("Sound=0"), std::string::npos) << written; // read, then written back
    EXPECT_NE(written.find("Screen%20Size%20X="), std::string::npos) << written;
    EXPECT_NE(written.find("kept=yes"), std::string::npos) << written;
    for (const auto& entry : fs::directory_iterator(folder.path())) // nothing under a changed name
        EXPECT_TRUE(entry.path().filename() == "v\xfe.ini" || entry.path().filename() == "stderr.txt") << entry.path();
}

TEST(WholeFileWrite, ReplacesAFileWholeAndReportsWhyItCannot)
{
    TempFolder folder;
    const fs::path file = folder.path() / "out.png";
    std::ofstream(file) << "old contents";
    std::string error;
    ASSERT_TRUE(writeWholeFile(file.string(), "new", error)) << error;
    EXPECT_EQ(readAll(file), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1); // no temporary left

    EXPECT_FALSE(writeWholeFile((folder.path() / "missing" / "x.png").string(), "x", error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(writeWholeFile(folder.path().string(), "x", error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(writeWholeFile("/dev/full", "x", error));
    EXPECT_EQ(error, "No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/full")); // a device is written in place, never replaced
}

// The lock file a killed run leaves: empty (killed between making and filling it), or naming a
// process that is gone. Both are taken over at once and the save goes on.
TEST(SettingsLock, StaleLockIsTakenOverAtOnce)
{
    for (const std::string& contents :
         {std::string(), std::string("999999999\nvortastr\n") + QSysInfo::machineHostName().toStdString() + "\n"}) {
        TempFolder folder;
        const fs::path ini = folder.path() / "vortastr.ini";
        std::ofstream(ini.string() + ".lock") << contents;
        IniSettingsStore store(ini.string());
        const auto start = Clock::now();
        ASSERT_TRUE(store.openForWriting());
        store.writeDword("Sound", 1);
        EXPECT_TRUE(store.commit());
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
        EXPECT_NE(readAll(ini).find("Sound=1"), std::string::npos);
    }
}

TEST(SettingsLock, LiveHolderIsWaitedForAboutASecondThenTheSaveIsSkipped)
{
    TempFolder folder;
    const fs::path ini = folder.path() / "vortastr.ini";
    QLockFile held(QString::fromStdString(ini.string() + ".lock"));
    ASSERT_TRUE(held.tryLock(0));
    IniSettingsStore store(ini.string());
    const auto start = Clock::now();
    EXPECT_FALSE(store.openForWriting());
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_LT(waited, std::chrono::seconds(3));
}

// A whole run: the message box of a missing ROM set waits; SIGTERM closes it and the program ends.
TEST(QuitSignal, SigtermEndsTheProgramWhileAMessageBoxWaits)
{
    TempFolder folder;
    fs::create_directory(folder.path() / "roms");
    const ChildRun run = runEmulator(
        {"JN", "--rompath", (folder.path() / "roms").string(), "--config", (folder.path() / "v.ini").string()},
        folder.path(), std::chrono::seconds(30), std::chrono::milliseconds(3000));
    EXPECT_FALSE(run.timedOut) << "the program did not end on SIGTERM";
    EXPECT_TRUE(WIFEXITED(run.status));
}

TEST(QuitSignal, SigtermEndsARunningGameThroughTheNormalExit)
{
    TempFolder folder;
    const fs::path ini = folder.path() / "v.ini";
    const ChildRun run = runEmulator({"JN", "--rompath", VORTASTR_TESTROMS, "--config", ini.string()}, folder.path(),
                                     std::chrono::seconds(30), std::chrono::milliseconds(3000));
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(exitCode(run), 0) << run.stderrText;
    EXPECT_NE(readAll(ini).find("[Vorta%20Strike%20Emulator]"), std::string::npos); // settings written
}

// In this process: the box's own loop ends when the signal arrives, and no later box waits.
TEST(QuitSignal, OpenMessageBoxIsClosedBySigterm)
{
    installQuitSignals();
    QtHost host(false);
    bool gaveUp = false;
    QTimer::singleShot(200, [] { ::raise(SIGTERM); });
    QTimer::singleShot(5000, [&gaveUp] {
        gaveUp = true;
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    host.messageBox("Couldn't open \"vorta/VSA_B9.BIN\".", kErrorCaption, MessageIcon::Error);
    EXPECT_FALSE(gaveUp);
    EXPECT_TRUE(quitSignalled());
}

} // namespace
} // namespace vortastr

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
