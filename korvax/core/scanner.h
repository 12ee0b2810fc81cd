// The disc header scanner: lists the CD-ROM drives holding a disc, finds the header files
// ("AIPs") in a disc's root directory and in its system area, and reads one for display. The
// dialogs (or the command line) implement the views; the scanner drives them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "disc_header.h"
#include "drive_access.h"

namespace korvax {

inline constexpr const char* kNoNameLabel = "No Name";
inline constexpr const char* kSystemAreaItem = "(system area)";
// Files must be larger than this to be examined.
inline constexpr std::uint64_t kMinAipFileSize = 256;

struct ReadyDrive {
    DriveRef drive;
    std::string label; // volume label at listing time, "No Name" when empty
    std::string item;  // the drive list's text: "sr0: 'LABEL'"
};

struct CdDriveList {
    std::vector<DriveRef> cdRomDrives;
    std::vector<ReadyDrive> readyDrives;
};

struct AipEntry {
    std::string name; // the AIP list's text
    std::string path; // "sr0:\0.BIN"
    DriveRef drive;
    bool systemArea = false;
};

struct AipList {
    std::vector<AipEntry> entries; // directory order, the system-area header last
};

// Everything the scanner keeps between the dialogs' actions.
struct ScannerState {
    CdDriveList drives;
    AipList aips;
    std::string currentLabel;
    std::optional<AipEntry> selectedAip;
};

// What the scanner needs of the Explore dialog.
class ExploreView {
public:
    virtual ~ExploreView() = default;
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
    virtual void addDriveItem(const std::string& text) = 0;
    virtual void clearAipItems() = 0;
    virtual void addAipItem(const std::string& text) = 0;
    virtual std::optional<std::string> selectedDriveItem() = 0;
    virtual std::optional<std::string> selectedAipItem() = 0;
    virtual void openInfoDialog() = 0;
    virtual void closeDialog() = 0;
};

// What the scanner needs of the AIP Information dialog.
class InfoView {
public:
    virtual ~InfoView() = default;
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
    virtual void setField(int field, const std::string& text) = 0;
    virtual void closeDialog() = 0;
};

// A drive is ready when a disc can be opened in it.
bool isDriveReady(DriveAccess& access, const DriveRef& drive);

// The label as stored and compared: the volume id, or "No Name" when it is empty.
std::string labelOrNoName(const std::string& label);
std::string driveItemText(const std::string& driveName, const std::string& label);
std::string aipPath(const std::string& driveName, const std::string& fileName);

// Explore dialog opens: fills the drive list. False when the dialog was closed.
bool listCdDrives(ExploreView& view, ScannerState& state, DriveAccess& access);

// "Scan for AIPs >>": fills the AIP list for the selected drive.
void scanForAips(ExploreView& view, ScannerState& state, DriveAccess& access);

// "Show AIP Info...": selects the AIP and opens the information dialog.
void showAipInfo(ExploreView& view, ScannerState& state);

// AIP Information dialog opens: reads the selected AIP and fills the fields. False when the
// dialog was closed.
bool displayAipHeader(InfoView& view, const ScannerState& state, DriveAccess& access);

} // namespace korvax
