#include "core/avi_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "core/codec_module.h"
#include "core/raw_avi_writer.h"

namespace reelcast {
namespace {

// The file the AVI replaces: a symbolic link's target rather than the link.
std::string targetOf(const std::string& path)
{
    std::error_code ec;
    const auto real = std::filesystem::canonical(path, ec);
    return ec ? path : real.string();
}

// A new, empty temporary file in the target's folder, so that the final rename stays within one
// file system. Its mode is the one the target has, or a new file's.
std::string createTemporaryBeside(const std::string& target)
{
    const std::filesystem::path t(target);
    std::string name = (t.parent_path() / ("." + t.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return {};
    struct stat st {};
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    ::close(fd);
    return name;
}

} // namespace

const char* aviStatusMessage(int status)
{
    switch (status) {
    case kAviCantCreateFile: return "AVIfile can't create.";
    case kAviCantCreateStream: return "Can't AVIFileCreateStream.";
    case kAviCantMakeCompressedStream: return "Can't AVIMakeCompressedStream.";
    case kAviCantSetFormat: return "Can't AVIStreamSetFormat.";
    case kAviNotRegularFile: return "The output path is not a regular file.";
    case kAviWriteError: return "File write ERROR.";
    default: return "";
    }
}

struct AviWriter::State {
    int fd = -1; // the uncompressed file's
    RawAviWriter raw;
    std::unique_ptr<EncodedAviOutput> encoded;
    std::string target, temporary;

    ~State()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

AviWriter::AviWriter() = default;
AviWriter::~AviWriter() { discard(); }
bool AviWriter::isOpen() const { return s_ != nullptr; }

int AviWriter::open(const std::string& path, const AviVideoFormat& v, int audioChannels)
{
    discard();
    lastError_ = 0;
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return kAviNotRegularFile;
    auto s = std::make_unique<State>();
    s->target = targetOf(path);
    s->temporary = createTemporaryBeside(s->target);
    if (s->temporary.empty())
        return kAviCantCreateFile;
    auto fail = [&](int status) {
        const std::string temporary = s->temporary;
        s.reset();
        unlink(temporary.c_str());
        return status;
    };
    if (v.options.compressing()) {
        const CodecModule* module = codecModule();
        const CompressorInfo* info = findCompressor(v.options.fccHandler);
        if (!module || !info)
            return fail(kAviCantMakeCompressedStream);
        if (int st = module->open(s->temporary.c_str(), v, *info, audioChannels, s->encoded))
            return fail(st);
    } else {
        s->fd = ::open(s->temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (s->fd < 0)
            return fail(kAviCantCreateFile);
        RawAviFormat format;
        format.width = v.width;
        format.height = v.height;
        format.frameRate = v.frameRate;
        format.audioChannels = audioChannels;
        if (!s->raw.open(s->fd, format)) {
            lastError_ = s->raw.lastError();
            return fail(kAviWriteError);
        }
    }
    s_ = std::move(s);
    return kAviOk;
}

bool AviWriter::writeVideo(const OutputBitmap& bitmap)
{
    if (!s_)
        return false;
    State& s = *s_;
    if (s.encoded) {
        if (s.encoded->writeVideo(bitmap))
            return true;
        lastError_ = s.encoded->lastError();
        return false;
    }
    if (s.raw.writeVideo(bitmap.pixels(), uint32_t(bitmap.imageSize())))
        return true;
    lastError_ = s.raw.lastError();
    return false;
}

bool AviWriter::writeAudio(const int16_t* samples, int frames)
{
    if (!s_ || frames <= 0)
        return false;
    State& s = *s_;
    if (s.encoded) {
        if (s.encoded->writeAudio(samples, frames))
            return true;
        lastError_ = s.encoded->lastError();
        return false;
    }
    if (s.raw.writeAudio(samples, frames))
        return true;
    lastError_ = s.raw.lastError();
    return false;
}

void AviWriter::discard()
{
    if (!s_)
        return;
    const std::string temporary = s_->temporary;
    s_.reset();
    unlink(temporary.c_str());
}

bool AviWriter::close()
{
    if (!s_)
        return true;
    State& s = *s_;
    bool ok;
    if (s.encoded) {
        ok = s.encoded->finish();
        if (!ok)
            lastError_ = s.encoded->lastError();
    } else {
        ok = s.raw.finish();
        if (!ok)
            lastError_ = s.raw.lastError();
        const int fd = std::exchange(s.fd, -1);
        if (::close(fd) != 0 && ok) {
            ok = false;
            lastError_ = errno;
        }
    }
    const std::string temporary = s.temporary, target = s.target;
    s_.reset();
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        lastError_ = errno;
    }
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}

} // namespace reelcast
