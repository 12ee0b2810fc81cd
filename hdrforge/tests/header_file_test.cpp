// Reading and writing headers in files, including damaged, unreadable and huge files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "atomic_file.h"
#include "header_file.h"
#include "test_files.h"

using namespace hdrforge;
namespace fs = std::filesystem;

namespace {

bool runningAsRoot() { return ::geteuid() == 0; }

HeaderBytes sampleHeader()
{
    HeaderFields f;
    f.prgPages = 2;
    f.chrPages = 1;
    f.mapper = 4;
    f.mirroring = 1;
    return encodeHeader(f);
}

Bytes sampleBytes()
{
    HeaderBytes h = sampleHeader();
    return Bytes(h.begin(), h.end());
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileKind, EndingsInAnyCase)
{
    struct Case {
        const char* name;
        FileKind kind;
    } cases[] = {{"game.nes", FileKind::Game}, {"GAME.NES", FileKind::Game},      {"Game.NeS", FileKind::Game},
                 {"h.hdr", FileKind::Header},  {"H.HDR", FileKind::Header},       {"nes", FileKind::Other},
                 {".nes", FileKind::Game},     {"game.nes.bak", FileKind::Other}, {"gamenes", FileKind::Other},
                 {"", FileKind::Other},        {"list.txt", FileKind::Other}};
    for (const Case& c : cases)
        EXPECT_EQ(classifyFileName(c.name), c.kind) << c.name;
}

TEST(ReadHeader, ShortFilesArePaddedWithZeros)
{
    TempDir dir;
    Bytes full = headerBytes(2, 1, 0x1F, 0x20, 0x55);
    for (std::size_t size = 0; size < 16; ++size) {
        std::string path = dir.file("short.nes");
        writeBytes(path, Bytes(full.begin(), full.begin() + static_cast<long>(size)));
        HeaderRead read;
        std::string error;
        ASSERT_TRUE(readHeaderFile(path, read, error)) << size << error;
        EXPECT_EQ(read.fileSize, size);
        for (std::size_t i = 0; i < 16; ++i)
            EXPECT_EQ(read.bytes[i], i < size ? full[i] : 0) << size;
    }
}

TEST(ReadHeader, FailuresLeaveTheResultUntouchedAndSayWhy)
{
    TempDir dir;
    fs::create_directory(dir.file("folder.nes"));
    ASSERT_EQ(::mkfifo(dir.file("pipe.nes").c_str(), 0600), 0);
    struct Case {
        std::string path, reason;
    } cases[] = {{dir.file("missing.nes"), "No such file"},
                 {dir.file("folder.nes"), "folder"},
                 {dir.file("pipe.nes"), "not a regular file"},
                 {dir.file("missing/x.nes"), "No such file"}};
    for (const Case& c : cases) {
        HeaderRead read;
        read.fileSize = 77;
        std::string error;
        EXPECT_FALSE(readHeaderFile(c.path, read, error)) << c.path;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
        EXPECT_EQ(read.fileSize, 77u);
    }
}

TEST(ReadHeader, UnreadableFile)
{
    // /proc/self/mem is a regular file whose first page is never mapped: reading fails even for root.
    HeaderRead read;
    std::string error;
    EXPECT_FALSE(readHeaderFile("/proc/self/mem", read, error));
    EXPECT_NE(error.find("Cannot read"), std::string::npos) << error;
    if (!runningAsRoot()) {
        TempDir dir;
        writeBytes(dir.file("locked.nes"), headerBytes(1, 1, 0, 0));
        ::chmod(dir.file("locked.nes").c_str(), 0);
        EXPECT_FALSE(readHeaderFile(dir.file("locked.nes"), read, error));
        EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    }
}

TEST(WriteHeader, NewFileIsExactly16BytesAndNoTemporaryIsLeft)
{
    TempDir dir;
    std::string error;
    ASSERT_TRUE(writeHeaderInto(dir.file("new.hdr"), sampleHeader(), error)) << error;
    Bytes written = readBytes(dir.file("new.hdr"));
    EXPECT_EQ(written, sampleBytes());
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"new.hdr"});
}

TEST(WriteHeader, GameKeepsItsLengthAndEveryByteAfterTheHeader)
{
    TempDir dir;
    Bytes game = gameImage(40976, headerBytes(1, 0, 0x0F, 0x0F, 0x77));
    writeBytes(dir.file("game.nes"), game);
    ::chmod(dir.file("game.nes").c_str(), 0640);
    ASSERT_EQ(::link(dir.file("game.nes").c_str(), dir.file("hardlink.nes").c_str()), 0);
    std::string error;
    ASSERT_TRUE(writeHeaderInto(dir.file("game.nes"), sampleHeader(), error)) << error;
    Bytes after = readBytes(dir.file("game.nes"));
    ASSERT_EQ(after.size(), 40976u);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], sampleHeader()[i]);
    EXPECT_TRUE(std::equal(after.begin() + 16, after.end(), game.begin() + 16));
    EXPECT_EQ(readBytes(dir.file("hardlink.nes")), after); // written in place, not replaced
    struct stat st {};
    ::stat(dir.file("game.nes").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(WriteHeader, FilesUpTo16BytesAreReplacedKeepingPermissions)
{
    TempDir dir;
    for (std::size_t size : {0u, 5u, 16u}) {
        std::string path = dir.file("h" + std::to_string(size) + ".hdr");
        writeBytes(path, Bytes(size, 0xEE));
        ::chmod(path.c_str(), 0604);
        std::string error;
        ASSERT_TRUE(writeHeaderInto(path, sampleHeader(), error)) << error;
        EXPECT_EQ(readBytes(path), sampleBytes());
        struct stat st {};
        ::stat(path.c_str(), &st);
        EXPECT_EQ(st.st_mode & 0777, 0604u);
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 3u);
}

TEST(WriteHeader, SymbolicLinkIsFollowed)
{
    TempDir dir;
    writeBytes(dir.file("real.hdr"), Bytes(16, 0));
    fs::create_symlink("real.hdr", dir.file("link.hdr"));
    std::string error;
    ASSERT_TRUE(writeHeaderInto(dir.file("link.hdr"), sampleHeader(), error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.file("link.hdr")));
    EXPECT_EQ(readBytes(dir.file("real.hdr")), sampleBytes());
}

TEST(WriteHeader, FailuresChangeNothing)
{
    TempDir dir;
    fs::create_directory(dir.file("folder.hdr"));
    std::string error;
    EXPECT_FALSE(writeHeaderInto(dir.file("folder.hdr"), sampleHeader(), error));
    EXPECT_NE(error.find("folder"), std::string::npos) << error;
    EXPECT_FALSE(writeHeaderInto(dir.file("nowhere/new.hdr"), sampleHeader(), error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_FALSE(writeHeaderInto(dir.file("vanished.nes"), sampleHeader(), error, IfMissing::Fail));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    // A read-only file, even for root.
    EXPECT_FALSE(writeHeaderInto("/proc/version", sampleHeader(), error));
    EXPECT_NE(error.find("Cannot write"), std::string::npos) << error;
    if (!runningAsRoot()) {
        Bytes game = gameImage(40976, headerBytes(1, 0, 0, 0));
        writeBytes(dir.file("ro.nes"), game);
        writeBytes(dir.file("ro.hdr"), headerBytes(1, 0, 0, 0));
        ::chmod(dir.file("ro.nes").c_str(), 0444);
        ::chmod(dir.file("ro.hdr").c_str(), 0444);
        EXPECT_FALSE(writeHeaderInto(dir.file("ro.nes"), sampleHeader(), error));
        EXPECT_FALSE(writeHeaderInto(dir.file("ro.hdr"), sampleHeader(), error));
        EXPECT_EQ(readBytes(dir.file("ro.nes")), game);
        EXPECT_EQ(readBytes(dir.file("ro.hdr")), headerBytes(1, 0, 0, 0));
    }
    EXPECT_EQ(namesIn(dir.path()).size(), runningAsRoot() ? 1u : 3u);
}

TEST(WriteHeader, HugeSparseGameIsPatchedInPlace)
{
    TempDir dir;
    const std::uint64_t size = 6ull << 30; // 6 GiB, sparse: no disk space used
    std::string path = dir.file("huge.nes");
    int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
    HeaderRead read;
    std::string error;
    ASSERT_TRUE(readHeaderFile(path, read, error)) << error;
    EXPECT_EQ(read.fileSize, size);
    EXPECT_FALSE(sizeMismatchNote(decodeHeader(read.bytes), read.fileSize).empty());
    ASSERT_TRUE(writeHeaderInto(path, sampleHeader(), error)) << error;
    ASSERT_TRUE(readHeaderFile(path, read, error));
    EXPECT_EQ(read.fileSize, size);
    EXPECT_EQ(read.bytes, sampleHeader());
}

TEST(SizeCheck, NoteOnlyWhenTheLengthDiffers)
{
    HeaderFields f = decodeHeader(sampleHeader()); // 2 PRG, 1 CHR: 40976 bytes
    EXPECT_EQ(sizeMismatchNote(f, 40976), "");
    EXPECT_EQ(sizeMismatchNote(f, 40975), "size does not match the header: 40976 bytes expected");
    EXPECT_FALSE(sizeMismatchNote(f, 0).empty());
}

TEST(AtomicWrite, ReplacesContentsWholly)
{
    TempDir dir;
    std::string error;
    writeBytes(dir.file("list.txt"), Bytes(5000, 'x'));
    ASSERT_TRUE(writeFileAtomically(dir.file("list.txt"), "short\n", error)) << error;
    EXPECT_EQ(readBytes(dir.file("list.txt")), Bytes({'s', 'h', 'o', 'r', 't', '\n'}));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"list.txt"});
}

// Stand-ins for pwrite: one that takes nothing (as a full device can), one that takes a byte at a
// time after an interruption.
ssize_t takesNothing(int, const void*, size_t, off_t) { return 0; }
std::string slowlyTaken;
int interruptions = 0;
ssize_t takesOneByteAfterEintr(int, const void* data, size_t, off_t offset)
{
    if (interruptions++ == 0) {
        errno = EINTR;
        return -1;
    }
    EXPECT_EQ(static_cast<std::size_t>(offset), slowlyTaken.size());
    slowlyTaken += *static_cast<const char*>(data);
    return 1;
}

TEST(WriteAll, WriteThatTakesNothingGivesARealReason)
{
    errno = 0;
    EXPECT_FALSE(writeAllAt(-1, "NES\x1a", 0, takesNothing));
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(fileErrorText("write", "g1.nes", errno), "Cannot write \"g1.nes\": No space left on device");

    EXPECT_TRUE(writeAllAt(-1, "header", 0, takesOneByteAfterEintr));
    EXPECT_EQ(slowlyTaken, "header");
}

} // namespace
