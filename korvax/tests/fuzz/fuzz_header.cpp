// Fuzzes header decoding and the whole scanner over a stand-in drive whose files and system
// area are the fuzzer's bytes, and the text clean-up for list items.
#include <cstddef>
#include <cstdint>

#include "core/command_line.h"
#include "core/disc_header.h"
#include "core/memory_drive_access.h"
#include "core/scanner.h"

namespace {

using namespace korvax;

class NullExploreView : public ExploreView {
public:
    ScannerState* state = nullptr;
    DriveAccess* access = nullptr;
    std::vector<std::string> drives, aips;
    std::size_t aipChoice = 0;
    void showMessage(const std::string&, const std::string&) override {}
    void addDriveItem(const std::string& text) override { drives.push_back(text); }
    void clearAipItems() override { aips.clear(); }
    void addAipItem(const std::string& text) override { aips.push_back(text); }
    std::optional<std::string> selectedDriveItem() override
    {
        return drives.empty() ? std::nullopt : std::optional(drives.front());
    }
    std::optional<std::string> selectedAipItem() override
    {
        return aips.empty() ? std::nullopt : std::optional(aips[aipChoice % aips.size()]);
    }
    void openInfoDialog() override;
    void closeDialog() override {}
};

class NullInfoView : public InfoView {
public:
    void showMessage(const std::string&, const std::string&) override {}
    void setField(int, const std::string&) override {}
    void closeDialog() override {}
};

void NullExploreView::openInfoDialog()
{
    NullInfoView info;
    displayAipHeader(info, *state, *access);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DiscHeader header;
    const int fields = readDiscHeader(data, size, header);
    for (int i = 0; i < fields; ++i)
        (void)headerFieldText(header, i);
    (void)isAipIdentifier(data, size);
    (void)printableItem(std::string(reinterpret_cast<const char*>(data), size));

    // The same bytes as a file with the identifier, as one without, and as the system area;
    // the first byte picks the reported size so that short reads happen too.
    std::vector<std::uint8_t> bytes(data, data + size);
    std::vector<std::uint8_t> withId(kSaturnIdentifier.begin(), kSaturnIdentifier.end());
    withId.insert(withId.end(), bytes.begin(), bytes.end());
    MemoryDisc disc;
    disc.label = size > 0 ? std::string(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 40)) : "";
    disc.add("A.BIN", withId);
    disc.root.back().second.reportedSize = size > 0 ? data[0] * 8u : 0;
    disc.add("B.BIN", bytes);
    disc.systemArea = withId;
    MemoryDriveAccess access;
    access.addDrive("sr0", disc);

    ScannerState state;
    NullExploreView view;
    view.state = &state;
    view.access = &access;
    view.aipChoice = size > 1 ? data[1] : 0;
    if (listCdDrives(view, state, access)) {
        scanForAips(view, state, access);
        showAipInfo(view, state);
    }
    return 0;
}
