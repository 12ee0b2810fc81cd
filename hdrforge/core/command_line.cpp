#include "command_line.h"

#include <charconv>
#include <filesystem>
#include <ostream>

#include "dir_listing.h"
#include "header_file.h"
#include "mapper_table.h"
#include "size_lists.h"

namespace hdrforge {
namespace {

const char kUsage[] = "Usage: hdrforge [OPTION...]\n"
                      "Edits the 16-byte header of .nes games and .hdr header files.\n"
                      "Without options the editor window opens.\n"
                      "\n"
                      "  --show FILE                   print every header field of a game or header file\n"
                      "  --set KEY=VALUE... FILE       change fields and save the file\n"
                      "  --new [KEY=VALUE...] FILE.hdr write a new header file from the editor's defaults\n"
                      "  --patch HEADER.hdr GAME.nes   write the header over the game's first 16 bytes\n"
                      "  --list FOLDER OUT.txt         write a listing of FOLDER into OUT.txt\n"
                      "  --force                       save even when NES 2.0 data in bytes 8-15 would be\n"
                      "                                cleared; let --new replace an existing file\n"
                      "  --help                        show this help\n"
                      "  --version                     show the version\n"
                      "\n"
                      "Keys: prg=1..32  chr=0..64  mapper=0..255  mirroring=horizontal|vertical\n"
                      "      battery=yes|no  trainer=yes|no  fourscreen=yes|no\n"
                      "Exit status: 0 done, 1 failed, 2 wrong usage.\n";

struct Usage {
    std::string message;
};

bool parseInt(const std::string& text, int low, int high, int& value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(text.data(), last, value);
    return ec == std::errc() && end == last && value >= low && value <= high;
}

bool parseChoice(const std::string& text, const char* zero, const char* one, int& value)
{
    if (text == zero)
        value = 0;
    else if (text == one)
        value = 1;
    else
        return false;
    return true;
}

const char* yesNo(int flag) { return flag ? "Yes" : "No"; }

std::string titleOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Reads the header of a .nes or .hdr file; other endings are refused like the form refuses them.
bool readKnownFile(const std::string& path, HeaderRead& read, std::ostream& err)
{
    if (classifyFileName(path) == FileKind::Other) {
        err << unknownKindText(titleOf(path)) << "\n";
        return false;
    }
    std::string error;
    if (!readHeaderFile(path, read, error)) {
        err << error << "\n";
        return false;
    }
    return true;
}

bool refuseNes2(const std::string& path, bool force, std::ostream& err)
{
    if (force)
        return false;
    err << "\"" << path << "\" has an NES 2.0 header: bytes 8-15 hold data that saving would "
        << "clear. Use --force to save anyway.\n";
    return true;
}

bool applySettings(const std::vector<std::string>& settings, HeaderFields& fields, std::ostream& err)
{
    for (const std::string& s : settings) {
        std::string error;
        if (!applyFieldSetting(s, fields, error)) {
            err << "hdrforge: " << error << "\n";
            return false;
        }
    }
    return true;
}

int writeHeader(const std::string& path, const HeaderFields& fields, IfMissing ifMissing, std::ostream& out,
                std::ostream& err)
{
    std::string error;
    if (!writeHeaderInto(path, encodeHeader(fields), error, ifMissing)) {
        err << error << "\n";
        return kExitFailure;
    }
    out << "Saved the header of " << path << "\n";
    return kExitOk;
}

int doShow(const std::string& path, std::ostream& out, std::ostream& err)
{
    HeaderRead read;
    if (!readKnownFile(path, read, err))
        return kExitFailure;
    out << describeHeader(path, read.bytes, read.fileSize);
    return kExitOk;
}

int doSet(const std::vector<std::string>& settings, const std::string& path, bool force, std::ostream& out,
          std::ostream& err)
{
    HeaderFields fields;
    for (const std::string& s : settings) { // check every setting before touching the file
        std::string error;
        if (!applyFieldSetting(s, fields, error))
            throw Usage{error};
    }
    HeaderRead read;
    if (!readKnownFile(path, read, err))
        return kExitFailure;
    if (isNes2Header(read.bytes) && refuseNes2(path, force, err))
        return kExitFailure;
    fields = decodeHeader(read.bytes);
    if (!applySettings(settings, fields, err))
        return kExitFailure;
    return writeHeader(path, fields, IfMissing::Fail, out, err);
}

int doNew(const std::vector<std::string>& settings, const std::string& path, bool force, std::ostream& out,
          std::ostream& err)
{
    HeaderFields fields; // the form's defaults
    for (const std::string& s : settings) {
        std::string error;
        if (!applyFieldSetting(s, fields, error))
            throw Usage{error};
    }
    if (classifyFileName(path) != FileKind::Header)
        throw Usage{"the new header file's name must end in .hdr"};
    std::error_code ec;
    if (!force && std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        err << "\"" << path << "\" already exists. Use --force to replace it.\n";
        return kExitFailure;
    }
    return writeHeader(path, fields, IfMissing::Create, out, err);
}

int doPatch(const std::string& headerPath, const std::string& gamePath, bool force, std::ostream& out,
            std::ostream& err)
{
    if (classifyFileName(gamePath) != FileKind::Game)
        throw Usage{"the game to patch must be a .nes file"};
    HeaderRead header, game;
    if (!readKnownFile(headerPath, header, err) || !readKnownFile(gamePath, game, err))
        return kExitFailure;
    if (isNes2Header(header.bytes) && refuseNes2(headerPath, force, err))
        return kExitFailure;
    if (isNes2Header(game.bytes) && refuseNes2(gamePath, force, err))
        return kExitFailure;
    return writeHeader(gamePath, decodeHeader(header.bytes), IfMissing::Fail, out, err);
}

int doList(const std::string& folder, const std::string& outPath, std::ostream& out, std::ostream& err)
{
    std::string error;
    if (!writeFolderListing(folder, outPath, error)) {
        err << error << "\n";
        return kExitFailure;
    }
    out << "Wrote the listing of " << folder << " to " << outPath << "\n";
    return kExitOk;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool force = false;
    std::string command;
    std::vector<std::string> operands;
    for (const std::string& a : args) {
        if (a == "--force") {
            force = true;
        } else if (a == "--help" || a == "--version" || a == "--show" || a == "--set" || a == "--new" ||
                   a == "--patch" || a == "--list") {
            if (!command.empty())
                throw Usage{"give only one of " + command + " and " + a};
            command = a;
        } else if (a.size() > 1 && a[0] == '-') {
            throw Usage{"unknown option " + a};
        } else {
            operands.push_back(a);
        }
    }
    if (command == "--help") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "--version") {
        out << "hdrforge " << kVersionText << "\n";
        return kExitOk;
    }
    auto need = [&](std::size_t count, const char* shape) {
        if (operands.size() != count)
            throw Usage{command + " takes " + shape};
    };
    if (command == "--show") {
        need(1, "one FILE");
        return doShow(operands[0], out, err);
    }
    if (command == "--list") {
        need(2, "FOLDER OUT.txt");
        return doList(operands[0], operands[1], out, err);
    }
    if (command == "--patch") {
        need(2, "HEADER.hdr GAME.nes");
        return doPatch(operands[0], operands[1], force, out, err);
    }
    if (command == "--set" || command == "--new") {
        if (operands.empty())
            throw Usage{command + " needs a FILE"};
        std::vector<std::string> settings(operands.begin(), operands.end() - 1);
        if (command == "--set" && settings.empty())
            throw Usage{"--set needs at least one KEY=VALUE"};
        if (operands.back().find('=') != std::string::npos)
            throw Usage{command + " needs a FILE after the settings"};
        if (command == "--set")
            return doSet(settings, operands.back(), force, out, err);
        return doNew(settings, operands.back(), force, out, err);
    }
    throw Usage{command.empty() ? "no command given" : "unknown option " + command};
}

} // namespace

bool applyFieldSetting(const std::string& setting, HeaderFields& fields, std::string& error)
{
    std::size_t eq = setting.find('=');
    if (eq == std::string::npos) {
        error = "\"" + setting + "\" is not KEY=VALUE";
        return false;
    }
    std::string key = setting.substr(0, eq), value = setting.substr(eq + 1);
    bool ok;
    if (key == "prg")
        ok = parseInt(value, 1, kProgramListItems, fields.prgPages);
    else if (key == "chr")
        ok = parseInt(value, 0, kCharacterListItems - 1, fields.chrPages);
    else if (key == "mapper")
        ok = parseInt(value, 0, 255, fields.mapper);
    else if (key == "mirroring")
        ok = parseChoice(value, "horizontal", "vertical", fields.mirroring);
    else if (key == "battery")
        ok = parseChoice(value, "no", "yes", fields.battery);
    else if (key == "trainer")
        ok = parseChoice(value, "no", "yes", fields.trainer);
    else if (key == "fourscreen")
        ok = parseChoice(value, "no", "yes", fields.fourScreen);
    else {
        error = "unknown key \"" + key + "\"";
        return false;
    }
    if (!ok)
        error = "bad value \"" + value + "\" for " + key;
    return ok;
}

std::string describeHeader(const std::string& path, const HeaderBytes& bytes, std::uint64_t fileSize)
{
    HeaderFields f = decodeHeader(bytes);
    bool game = classifyFileName(path) == FileKind::Game;
    std::string t;
    t += "File: " + path + "\n";
    t += std::string("Kind: ") + (game ? "game (.nes)" : "header (.hdr)") + "\n";
    t += "File size: " + std::to_string(fileSize) + " bytes\n";
    t += "PRG Size: " + programPagesText(f.prgPages) + "\n";
    t += "CHR Size: " + characterPagesText(f.chrPages) + "\n";
    t += std::string("Mirroring: ") + (f.mirroring ? "Vertical" : "Horizontal") + "\n";
    t += std::string("Battery Backup: ") + yesNo(f.battery) + "\n";
    t += std::string("Trainer: ") + yesNo(f.trainer) + "\n";
    t += std::string("4-Screen VRAM: ") + yesNo(f.fourScreen) + "\n";
    t += "Mapper Number: " + std::to_string(f.mapper) + "\n";
    t += "Mapper: " + findMapperDesc(f.mapper) + "\n";
    t += std::string("Format: ") +
         (isNes2Header(bytes) ? "NES 2.0 (bytes 8-15 carry data that saving clears)" : "iNES") + "\n";
    std::string check;
    if (!game)
        check = "not applicable to a header file";
    else if (fileSize < kHeaderSize)
        check = "the file is shorter than a header";
    else {
        check = sizeMismatchNote(f, fileSize);
        if (check.empty())
            check = "the size matches the header";
    }
    t += "Size check: " + check + "\n";
    return t;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        return run(args, out, err);
    } catch (const Usage& usage) {
        err << "hdrforge: " << usage.message << "\nTry 'hdrforge --help'.\n";
        return kExitUsage;
    }
}

} // namespace hdrforge
