// The command line's conversion never harms what stands at the output path: folders, FIFOs and the
// movie itself are refused; a failed write (here: a file size limit) reports, exits 1 and leaves the
// old file as it was; a finished conversion replaces it whole. Stop signals finalise the file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "app/cli.h"
#include "support/cli_run.h"
#include "support/movie_builder.h"

namespace reelcast {
namespace {

namespace fs = std::filesystem;

std::string shared(const char* file) { return std::string(SUITE_TESTDATA_DIR) + "/movies/" + file; }

std::string slurpText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> entries(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A short movie of the shared test data, copied so that the test may name it as output.
std::string copyOf(const char* movie, const test::TempDir& dir)
{
    const std::string path = dir.file(movie);
    fs::copy_file(shared(movie), path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    return path;
}

TEST(OutputSafety, FolderAndFifoAtTheOutputAreRefusedAndLeftAlone)
{
    test::TempDir dir;
    const std::string folder = dir.file("folder.avi"), fifo = dir.file("fifo.avi");
    fs::create_directory(folder);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& target : {folder, fifo}) {
        const test::CliRun r = test::runReelcast({"--convert", shared("bars-v3-30fps-silent.STR"), "-o", target});
        EXPECT_EQ(r.status, 1) << target;
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"fifo.avi", "folder.avi"})); // nothing else made
}

TEST(OutputSafety, TheMovieItselfIsRefusedUnderAnyOfItsNames)
{
    test::TempDir dir;
    const std::string movie = copyOf("bars-v3-30fps-silent.STR", dir);
    const std::string before = slurpText(movie);
    fs::create_symlink(movie, dir.file("link.avi"));
    fs::create_hard_link(movie, dir.file("hard.avi"));
    for (const std::string& target : {movie, dir.file("link.avi"), dir.file("hard.avi")}) {
        const test::CliRun r = test::runReelcast({"--convert", movie, "-o", target});
        EXPECT_EQ(r.status, 1) << target;
        EXPECT_EQ(r.err, "The output file is the movie itself.\n");
    }
    EXPECT_EQ(slurpText(movie), before);
    EXPECT_EQ(entries(dir.path()).size(), 3u);
}

// Runs a conversion in a child process whose files may not grow beyond limitBytes: its writes fail
// as they would on a full disk.
test::CliRun convertWithFileSizeLimit(const std::vector<std::string>& args, rlim_t limitBytes)
{
    int pipes[2];
    if (pipe(pipes) != 0)
        return {-1, "", ""};
    const pid_t child = fork();
    if (child == 0) {
        close(pipes[0]);
        signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of ending the process
        const rlimit limit{limitBytes, limitBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        const test::CliRun r = test::runReelcast(args);
        const std::string err = r.err;
        (void)!write(pipes[1], err.data(), err.size());
        _exit(r.status);
    }
    close(pipes[1]);
    std::string err;
    char buf[512];
    for (ssize_t n; (n = read(pipes[0], buf, sizeof buf)) > 0;)
        err.append(buf, size_t(n));
    close(pipes[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", err};
}

TEST(OutputSafety, AFailedWriteReportsAndKeepsTheOldFile)
{
    test::TempDir dir;
    const std::string avi = dir.file("old.avi");
    {
        std::ofstream(avi) << "a good AVI the user made earlier";
    }
    fs::permissions(avi, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    for (const rlim_t limit : {rlim_t(3000), rlim_t(2000000)}) { // in the header, and later among the frames
        const test::CliRun r =
            convertWithFileSizeLimit({"--convert", shared("testsrc-v2-stereo37800.STR"), "-o", avi}, limit);
        EXPECT_EQ(r.status, 1) << limit;
        EXPECT_NE(r.err.find("File write ERROR."), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Convert done."), std::string::npos);
        EXPECT_EQ(slurpText(avi), "a good AVI the user made earlier");
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"old.avi"}); // the temporary file is gone
    }
    // A conversion that finishes replaces the file whole and keeps its permissions.
    const test::CliRun r = test::runReelcast({"--convert", shared("bars-v3-30fps-silent.STR"), "-o", avi});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurpText(avi).substr(0, 4), "RIFF");
    EXPECT_EQ(fs::status(avi).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"old.avi"});
}

// A termination request or a closed terminal stops like Ctrl+C: the file is finalised and kept.
TEST(OutputSafety, TermAndHupStopAndFinaliseTheFile)
{
    for (const int sig : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        test::TempDir dir;
        const std::string avi = dir.file("stopped.avi");
        test::CliRun r{};
        // Enlarged and interpolated, so that the conversion is still running when the signal comes.
        std::thread worker([&] {
            r = test::runReelcast({"--convert", shared("testsrc-v2-stereo37800.STR"), "-o", avi, "--size", "640x480",
                                   "--method", "2", "--codec", "ffv1"});
        });
        // The temporary file appears once the conversion has started.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (entries(dir.path()).empty() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        kill(getpid(), sig);
        worker.join();
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Stopped: " + avi + " holds the frames written so far.\n");
        EXPECT_EQ(slurpText(avi).substr(0, 4), "RIFF");
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"stopped.avi"});
    }
}

} // namespace
} // namespace reelcast
