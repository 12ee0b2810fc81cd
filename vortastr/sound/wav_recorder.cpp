#include "sound/wav_recorder.h"

#include "sound/sound_device.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vortastr {
namespace {

constexpr uint32_t kChannels = 2, kBytesPerSample = 2;
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36; // what a RIFF size field can hold

void put16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

std::array<uint8_t, 44> waveHeader(uint32_t dataBytes)
{
    std::array<uint8_t, 44> h{};
    std::memcpy(h.data(), "RIFF", 4);
    put32(h.data() + 4, 36 + dataBytes);
    std::memcpy(h.data() + 8, "WAVEfmt ", 8);
    put32(h.data() + 16, 16);
    put16(h.data() + 20, 1); // PCM
    put16(h.data() + 22, kChannels);
    put32(h.data() + 24, kOutputRate);
    put32(h.data() + 28, kOutputRate * kChannels * kBytesPerSample);
    put16(h.data() + 32, kChannels * kBytesPerSample);
    put16(h.data() + 34, 16);
    std::memcpy(h.data() + 36, "data", 4);
    put32(h.data() + 40, dataBytes);
    return h;
}

} // namespace

WavRecorder::~WavRecorder() { discard(); }

void WavRecorder::discard()
{
    if (!file_)
        return;
    std::fclose(file_);
    file_ = nullptr;
    std::error_code ec;
    std::filesystem::remove(temporary_, ec); // our own temporary file only
}

bool WavRecorder::open(const std::string& path, std::string& error)
{
    discard();
    path_ = path;
    temporary_ = path + ".tmp";
    frames_ = 0;
    failed_ = false;
    // The rename at the end would replace whatever is there: only ever a regular file.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = "\"" + path + "\" is not a regular file";
        return false;
    }
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (!file_) {
        error = "cannot create \"" + temporary_ + "\": " + std::strerror(errno);
        return false;
    }
    const auto header = waveHeader(0);
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size())
        failed_ = true;
    return true;
}

void WavRecorder::append(const int16_t* samples, std::size_t frames)
{
    if (!file_ || failed_ || frames == 0)
        return;
    if ((frames_ + frames) * kChannels * kBytesPerSample > kMaxDataBytes) {
        failed_ = true;
        return;
    }
    std::array<uint8_t, 4096> bytes;
    std::size_t done = 0;
    while (done < frames * kChannels) {
        const std::size_t count = std::min<std::size_t>(bytes.size() / 2, frames * kChannels - done);
        for (std::size_t i = 0; i < count; ++i)
            put16(bytes.data() + 2 * i, uint16_t(samples[done + i]));
        if (std::fwrite(bytes.data(), 2, count, file_) != count) {
            failed_ = true;
            return;
        }
        done += count;
    }
    frames_ += frames;
}

bool WavRecorder::finish(std::string& error)
{
    if (!file_) {
        error = "no recording was started";
        return false;
    }
    const auto header = waveHeader(uint32_t(frames_ * kChannels * kBytesPerSample));
    bool ok = !failed_ && std::fseek(file_, 0, SEEK_SET) == 0 &&
              std::fwrite(header.data(), 1, header.size(), file_) == header.size() && std::fflush(file_) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temporary_, path_, ec);
        if (!ec)
            return true;
        error = "cannot write \"" + path_ + "\": " + ec.message();
    } else {
        error = "cannot write \"" + temporary_ + "\"";
    }
    std::filesystem::remove(temporary_, ec);
    return false;
}

} // namespace vortastr
