// Fuzzes opening a disc image and reading it the way the scanner does: the input becomes an
// .iso, a raw .bin (sector size probed), or a cue sheet with its data file "image.bin".
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>

#include "core/cdio_drive_access.h"

namespace {

std::string scratch(const std::string& name)
{
    static const std::string dir = [] {
        std::string d = "/tmp/korvax-fuzz-" + std::to_string(getpid());
        mkdir(d.c_str(), 0700);
        return d;
    }();
    return dir + "/" + name;
}

void write(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0] % 3;
    ++data;
    --size;
    std::string image;
    if (mode == 0) {
        image = scratch("image.iso");
        write(image, data, size);
    } else if (mode == 1) {
        image = scratch("image.bin");
        write(image, data, size);
    } else {
        // Cue text up to the first zero byte, the track's data after it (libcdio looks for the
        // data under the sheet's own base name).
        const std::uint8_t* zero = std::find(data, data + size, 0);
        image = scratch("image.cue");
        write(image, data, static_cast<std::size_t>(zero - data));
        const std::uint8_t* rest = zero == data + size ? zero : zero + 1;
        write(scratch("image.bin"), rest, static_cast<std::size_t>(data + size - rest));
    }

    std::unique_ptr<korvax::DiscReader> disc = korvax::openImageFile(image);
    if (!disc)
        return 0;
    (void)disc->volumeLabel();
    std::vector<korvax::DirEntry> entries;
    std::vector<std::uint8_t> bytes;
    if (disc->listRoot(entries)) {
        for (const auto& entry : entries)
            disc->readFileStart(entry.name, 256, bytes);
    }
    disc->readSystemArea(256, bytes);
    return 0;
}
