// Real CD-ROM drives and disc images through libcdio and libiso9660. Nothing is mounted and the
// current directory is never changed: the volume label, the root directory and the files are
// read straight from the disc or image.
#pragma once

#include <optional>

#include "drive_access.h"

namespace korvax {

// The CD-ROM devices libcdio reports, each once (symlinks such as /dev/cdrom resolved).
std::vector<std::string> listCdRomDevices();

// The name a device shows under: its file name ("/dev/sr0" gives "sr0").
std::string deviceDisplayName(const std::string& device);

// Opens an ISO 9660 disc image: ".iso" with 2048-byte sectors, raw images with 2352-byte sectors
// (".bin", with or without a cue sheet), ".cue", ".toc" and ".nrg" through libcdio's image
// drivers. nullptr when the file is not such an image.
std::unique_ptr<DiscReader> openImageFile(const std::string& path);

// Opens the disc in a CD-ROM device; nullptr when no disc can be read.
std::unique_ptr<DiscReader> openDeviceDisc(const std::string& device);

class SystemDriveAccess : public DriveAccess {
public:
    // withDevices = false leaves the real drives out (the images only).
    explicit SystemDriveAccess(bool withDevices = true);

    // Adds an image to the drive list. Its entry (an image added before is found again), or
    // nullopt when the file cannot be opened as a disc image.
    std::optional<DriveRef> addImage(const std::string& path);
    const std::vector<DriveRef>& images() const { return images_; }

    std::vector<DriveRef> cdRomDrives() override;
    std::unique_ptr<DiscReader> openDisc(const DriveRef& drive) override;

private:
    bool withDevices_;
    std::vector<DriveRef> images_;
};

} // namespace korvax
