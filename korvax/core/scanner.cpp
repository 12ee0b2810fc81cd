#include "scanner.h"

#include "messages.h"

namespace korvax {
namespace {

const ReadyDrive* findReadyDrive(const ScannerState& state, const std::string& item)
{
    for (const ReadyDrive& d : state.drives.readyDrives)
        if (d.item == item)
            return &d;
    return nullptr;
}

const AipEntry* findAip(const ScannerState& state, const std::string& name)
{
    for (const AipEntry& e : state.aips.entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

// Files whose names have a 'Z' among their first three characters are never examined.
bool hasZInPrefix(const std::string& name) { return name.substr(0, 3).find('Z') != std::string::npos; }

bool fileIsAip(DiscReader& disc, const DirEntry& entry)
{
    if (entry.isDirectory || (entry.size & 0xFFFFFFFFu) <= kMinAipFileSize || hasZInPrefix(entry.name))
        return false;
    std::vector<std::uint8_t> start;
    return disc.readFileStart(entry.name, kIdentifierSize, start) && isAipIdentifier(start.data(), start.size());
}

} // namespace

bool isDriveReady(DriveAccess& access, const DriveRef& drive) { return access.openDisc(drive) != nullptr; }

std::string labelOrNoName(const std::string& label) { return label.empty() ? std::string(kNoNameLabel) : label; }

std::string driveItemText(const std::string& driveName, const std::string& label)
{
    return driveName + ": '" + label + "'";
}

std::string aipPath(const std::string& driveName, const std::string& fileName) { return driveName + ":\\" + fileName; }

bool listCdDrives(ExploreView& view, ScannerState& state, DriveAccess& access)
{
    state.drives = CdDriveList{};
    state.drives.cdRomDrives = access.cdRomDrives();
    if (state.drives.cdRomDrives.empty()) {
        view.showMessage(kMsgNoCdDrives, kCaptionProblem);
        view.closeDialog();
        return false;
    }
    for (const DriveRef& drive : state.drives.cdRomDrives) {
        std::unique_ptr<DiscReader> disc = access.openDisc(drive);
        if (!disc)
            continue;
        ReadyDrive ready{drive, labelOrNoName(disc->volumeLabel()), {}};
        ready.item = driveItemText(drive.name, ready.label);
        view.addDriveItem(ready.item);
        state.drives.readyDrives.push_back(std::move(ready));
    }
    if (state.drives.readyDrives.empty()) {
        view.showMessage(kMsgNoDisc, kCaptionProblem);
        view.closeDialog();
        return false;
    }
    return true;
}

void scanForAips(ExploreView& view, ScannerState& state, DriveAccess& access)
{
    const std::optional<std::string> item = view.selectedDriveItem();
    const ReadyDrive* listed = item ? findReadyDrive(state, *item) : nullptr;
    if (listed == nullptr) {
        view.showMessage(kMsgSelectDrive, kCaptionProblem);
        return;
    }
    const ReadyDrive drive = *listed;
    std::unique_ptr<DiscReader> disc = access.openDisc(drive.drive);
    if (!disc) {
        view.showMessage(kMsgDriveNotReady, kCaptionError);
        view.closeDialog();
        return;
    }
    const std::string label = labelOrNoName(disc->volumeLabel());
    if (label != drive.label) {
        view.showMessage(kMsgDiscChanged, kCaptionProblem);
        return;
    }

    state.currentLabel = label;
    view.clearAipItems();
    state.aips = AipList{};
    state.selectedAip.reset();

    std::vector<DirEntry> entries;
    if (disc->listRoot(entries)) {
        for (const DirEntry& entry : entries) {
            if (!fileIsAip(*disc, entry))
                continue;
            state.aips.entries.push_back({entry.name, aipPath(drive.drive.name, entry.name), drive.drive, false});
            view.addAipItem(entry.name);
        }
    }
    std::vector<std::uint8_t> systemArea;
    if (disc->readSystemArea(kIdentifierSize, systemArea) && isAipIdentifier(systemArea.data(), systemArea.size())) {
        state.aips.entries.push_back({kSystemAreaItem, aipPath(drive.drive.name, kSystemAreaItem), drive.drive, true});
        view.addAipItem(kSystemAreaItem);
    }
}

void showAipInfo(ExploreView& view, ScannerState& state)
{
    const std::optional<std::string> item = view.selectedAipItem();
    const AipEntry* entry = item ? findAip(state, *item) : nullptr;
    if (entry == nullptr) {
        view.showMessage(kMsgSelectAip, kCaptionProblem);
        return;
    }
    state.selectedAip = *entry;
    view.openInfoDialog();
}

bool displayAipHeader(InfoView& view, const ScannerState& state, DriveAccess& access)
{
    if (!state.selectedAip) {
        view.closeDialog();
        return false;
    }
    const AipEntry& aip = *state.selectedAip;
    // A drive that no longer holds a disc has had its disc changed too.
    std::unique_ptr<DiscReader> disc = access.openDisc(aip.drive);
    if (!disc || labelOrNoName(disc->volumeLabel()) != state.currentLabel) {
        view.showMessage(kMsgDiscChanged, kCaptionProblem);
        view.closeDialog();
        return false;
    }

    std::vector<std::uint8_t> data;
    const bool opened =
        aip.systemArea ? disc->readSystemArea(kHeaderSize, data) : disc->readFileStart(aip.name, kHeaderSize, data);
    if (!opened) {
        view.showMessage(kMsgAipOpenFault, kCaptionProblem);
        view.closeDialog();
        return false;
    }
    DiscHeader header;
    const int fieldsRead = readDiscHeader(data.data(), data.size(), header);
    for (int i = 0; i < fieldsRead; ++i)
        view.setField(i, headerFieldText(header, i));
    if (fieldsRead < HeaderFieldCount) {
        view.showMessage(kMsgAipReadFault, kCaptionProblem);
        view.closeDialog();
        return false;
    }
    return true;
}

} // namespace korvax
