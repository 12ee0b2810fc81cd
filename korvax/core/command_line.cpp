#include "command_line.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "image_problem.h"
#include "messages.h"
#include "scanner.h"

namespace korvax {
namespace {

namespace fs = std::filesystem;

// One drive (the SOURCE of --aips and --info) offered to the scanner as the only drive.
class SingleDriveAccess : public DriveAccess {
public:
    SingleDriveAccess(DriveAccess& inner, DriveRef drive) : inner_(inner), drive_(std::move(drive)) {}
    std::vector<DriveRef> cdRomDrives() override { return {drive_}; }
    std::unique_ptr<DiscReader> openDisc(const DriveRef& drive) override { return inner_.openDisc(drive); }

private:
    DriveAccess& inner_;
    DriveRef drive_;
};

void printMessage(std::ostream& err, const std::string& text, const std::string& caption)
{
    err << caption << ' ' << text << '\n';
}

class CliInfoView : public InfoView {
public:
    CliInfoView(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    void showMessage(const std::string& text, const std::string& caption) override
    {
        out_.flush();
        printMessage(err_, text, caption);
    }
    void setField(int field, const std::string& text) override
    {
        out_ << kHeaderLayout[field].label << ": " << printableText(text) << '\n';
    }
    void closeDialog() override {}

private:
    std::ostream& out_;
    std::ostream& err_;
};

// The Explore dialog without a window: items are collected (and printed sorted, as the
// dialog's sorted lists show them), the selections are set by the command.
class CliExploreView : public ExploreView {
public:
    CliExploreView(std::ostream& out, std::ostream& err, ScannerState& state, DriveAccess& access)
        : out_(out), err_(err), state_(state), access_(access)
    {}

    void showMessage(const std::string& text, const std::string& caption) override
    {
        failed = true;
        printMessage(err_, text, caption);
    }
    void addDriveItem(const std::string& text) override { driveItems.push_back(text); }
    void clearAipItems() override { aipItems.clear(); }
    void addAipItem(const std::string& text) override { aipItems.push_back(text); }
    std::optional<std::string> selectedDriveItem() override { return selectedDrive; }
    std::optional<std::string> selectedAipItem() override { return selectedAip; }
    void openInfoDialog() override
    {
        CliInfoView info(out_, err_);
        if (!displayAipHeader(info, state_, access_))
            failed = true;
    }
    void closeDialog() override {}

    static void printSorted(std::ostream& out, std::vector<std::string> items)
    {
        std::sort(items.begin(), items.end());
        for (const std::string& item : items)
            out << printableItem(item) << '\n';
    }

    std::vector<std::string> driveItems;
    std::vector<std::string> aipItems;
    std::optional<std::string> selectedDrive;
    std::optional<std::string> selectedAip;
    bool failed = false;

private:
    std::ostream& out_;
    std::ostream& err_;
    ScannerState& state_;
    DriveAccess& access_;
};

// Both commands that take images say the same: a path that is not there is "no such drive or
// image"; a file that is there but cannot be read as an image gets the fault text with its reason.
void reportUnopenedImage(std::ostream& err, const std::string& path)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        err << "korvax: " << path << ": no such CD-ROM drive or disc image\n";
    else
        printMessage(err, imageOpenFaultText(path, imageOpenProblem(path)), kCaptionError);
}

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// SOURCE is an image file, a device path or a device's name ("sr0").
std::optional<DriveRef> resolveSource(SystemDriveAccess& access, const std::string& source, std::ostream& err)
{
    std::error_code ec;
    if (fs::is_regular_file(source, ec)) {
        if (auto image = access.addImage(source))
            return image;
        reportUnopenedImage(err, source);
        return std::nullopt;
    }
    for (const std::string& device : listCdRomDevices()) {
        fs::path real = fs::canonical(source, ec);
        if (source == device || source == deviceDisplayName(device) || (!ec && real.string() == device))
            return DriveRef{deviceDisplayName(device), device, false};
    }
    if (source.rfind("/dev/", 0) == 0)
        return DriveRef{deviceDisplayName(source), source, false};
    reportUnopenedImage(err, source);
    return std::nullopt;
}

int listDrives(const Command& command, SystemDriveAccess& access, std::ostream& out, std::ostream& err)
{
    // Every image that opens is listed; each one that does not is named with the reason.
    bool allOpened = true;
    for (const std::string& image : command.images) {
        if (!access.addImage(image)) {
            reportUnopenedImage(err, image);
            allOpened = false;
        }
    }
    if (!allOpened && access.cdRomDrives().empty())
        return 1; // each failure is named; "no drives at all" would only repeat it
    ScannerState state;
    CliExploreView view(out, err, state, access);
    if (!listCdDrives(view, state, access))
        return 1;
    CliExploreView::printSorted(out, view.driveItems);
    return allOpened ? 0 : 1;
}

int scanSource(const Command& command, SystemDriveAccess& system, std::ostream& out, std::ostream& err)
{
    std::optional<DriveRef> drive = resolveSource(system, command.source, err);
    if (!drive)
        return 1;
    SingleDriveAccess access(system, *drive);
    if (!isDriveReady(access, *drive)) {
        printMessage(err, kMsgDriveNotReady, kCaptionError);
        return 1;
    }
    ScannerState state;
    CliExploreView view(out, err, state, access);
    if (!listCdDrives(view, state, access) || view.driveItems.empty())
        return 1;
    view.selectedDrive = view.driveItems.front();
    scanForAips(view, state, access);
    if (view.failed)
        return 1;
    if (command.kind == CommandKind::Aips) {
        CliExploreView::printSorted(out, view.aipItems);
        return 0;
    }

    // --info: the name as written, else without regard to case.
    auto it = std::find(view.aipItems.begin(), view.aipItems.end(), command.name);
    if (it == view.aipItems.end())
        it = std::find_if(view.aipItems.begin(), view.aipItems.end(),
                          [&](const std::string& item) { return sameIgnoringCase(item, command.name); });
    if (it == view.aipItems.end()) {
        err << "korvax: " << command.name << ": not an AIP of " << command.source << " (see --aips)\n";
        return 1;
    }
    view.selectedAip = *it;
    showAipInfo(view, state);
    return view.failed ? 1 : 0;
}

} // namespace

Command parseCommandLine(const std::vector<std::string>& args)
{
    Command command;
    auto usage = [&](std::string message) {
        command = Command{};
        command.kind = CommandKind::UsageError;
        command.error = std::move(message);
        return command;
    };
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        CommandKind kind = CommandKind::Gui;
        std::size_t operands = 0;
        if (arg == "--help" || arg == "-h")
            kind = CommandKind::Help;
        else if (arg == "--version")
            kind = CommandKind::Version;
        else if (arg == "--drives")
            kind = CommandKind::Drives;
        else if (arg == "--aips")
            kind = CommandKind::Aips, operands = 1;
        else if (arg == "--info")
            kind = CommandKind::Info, operands = 2;
        else if (arg.rfind("--", 0) == 0)
            return usage("unknown option '" + arg + "'");
        else {
            positional.push_back(arg);
            continue;
        }
        if (command.kind != CommandKind::Gui)
            return usage("only one of --drives, --aips, --info, --help, --version may be given");
        if (i + operands >= args.size())
            return usage("option '" + arg + "' needs " + (operands == 1 ? "SOURCE" : "SOURCE and NAME"));
        command.kind = kind;
        if (operands >= 1)
            command.source = args[++i];
        if (operands == 2)
            command.name = args[++i];
    }
    if (command.kind == CommandKind::Drives || command.kind == CommandKind::Gui)
        command.images = positional;
    else if (!positional.empty())
        return usage("unexpected argument '" + positional.front() + "'");
    return command;
}

int runCommand(const Command& command, SystemDriveAccess& access, std::ostream& out, std::ostream& err)
{
    switch (command.kind) {
    case CommandKind::Help: out << helpText(); return 0;
    case CommandKind::Version: out << "korvax " << kVersion << '\n'; return 0;
    case CommandKind::Drives: return listDrives(command, access, out, err);
    case CommandKind::Aips:
    case CommandKind::Info: return scanSource(command, access, out, err);
    case CommandKind::UsageError:
        err << "korvax: " << command.error << "\nTry 'korvax --help' for more information.\n";
        return 2;
    case CommandKind::Gui: break;
    }
    return 2;
}

std::string printableText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            out += '?';
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at text[i] (no overlong forms, surrogates or
// code points past U+10FFFF); 0 when there is none.
std::size_t utf8SequenceLength(const std::string& text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

bool isUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8SequenceLength(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

} // namespace

std::string printableItem(const std::string& text)
{
    if (!isUtf8(text))
        return printableText(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8SequenceLength(text, i);
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1Control = n == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if ((n == 1 && (c < 0x20 || c == 0x7F)) || c1Control)
            out += '?';
        else
            out.append(text, i, n);
        i += n;
    }
    return out;
}

const char* helpText()
{
    return "Usage: korvax [IMAGE...]\n"
           "       korvax --drives [IMAGE...]\n"
           "       korvax --aips SOURCE\n"
           "       korvax --info SOURCE NAME\n"
           "\n"
           "Finds Sega Saturn discs in the CD-ROM drives and in disc images and shows their disc\n"
           "header. Without an option the window opens, with the IMAGEs in its drive list.\n"
           "\n"
           "  --drives [IMAGE...]  list the drives holding a disc (and the IMAGEs) as\n"
           "                       NAME: 'LABEL'\n"
           "  --aips SOURCE        list the disc header files (AIPs) of SOURCE\n"
           "  --info SOURCE NAME   show the header fields of the AIP NAME on SOURCE\n"
           "  --help               show this help and exit\n"
           "  --version            show the version and exit\n"
           "\n"
           "SOURCE is a CD-ROM device (/dev/sr0, or its name sr0) or a disc image: .iso, or\n"
           ".bin/.cue with 2352-byte sectors. The header in a disc's system area is listed as\n"
           "\"(system area)\". Exit status: 0 success, 1 failure, 2 usage error.\n";
}

} // namespace korvax
