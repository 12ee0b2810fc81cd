#include "boards/rom_files.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace vortastr {
namespace {

namespace fs = std::filesystem;

void note(const std::string& text)
{
    if (romFiles().reportNote)
        romFiles().reportNote(text);
}

// Why an existing file could not be used; nothing for a file that simply is not there.
void noteProblem(const std::string& name, const RomLocation& where)
{
    if (where.problem.empty())
        return;
    std::string text = "\"" + hostRomName(name) + "\"";
    if (!where.archiveName.empty())
        text += " in \"" + where.archiveName + "\"";
    note(text + ": " + where.problem);
}

// Files (path, and member of an archive) already reported as short: each is named once per run.
std::set<std::string>& shortFilesNoted()
{
    static std::set<std::string> names;
    return names;
}

} // namespace

RomFileContext& romFiles()
{
    static RomFileContext context;
    return context;
}

std::string hostRomName(const std::string& name)
{
    std::string host = name;
    std::replace(host.begin(), host.end(), '\\', static_cast<char>(fs::path::preferred_separator));
    return host;
}

std::string couldntOpenMessage(const std::string& name, const std::string& archiveName)
{
    const std::string in = archiveName.empty() ? "" : " in \"" + archiveName + "\"";
    return "Couldn't open \"" + hostRomName(name) + "\"" + in + ".\n\nCheck you have correctly named roms";
}

RomFile openRomSilently(const std::string& name)
{
    RomLocation where;
    return openRomSource(romFiles().romPath, name, where);
}

RomFile openRom(const std::string& name)
{
    RomLocation where;
    RomFile file = openRomSource(romFiles().romPath, name, where);
    if (!file) {
        noteProblem(name, where);
        if (romFiles().reportError)
            romFiles().reportError(couldntOpenMessage(name, where.archiveName));
    }
    return file;
}

std::size_t readRom(RomSource* file, uint8_t* destination, std::size_t size)
{
    if (!file || !destination)
        return 0;
    const std::size_t got = file->read(destination, size);
    const RomLocation& where = file->location();
    if (where.size < size && shortFilesNoted().insert(where.path + '\n' + where.member).second) {
        const std::string in = where.archiveName.empty() ? "" : " in \"" + where.archiveName + "\"";
        note("warning: \"" + hostRomName(where.name) + "\"" + in + " holds " + std::to_string(where.size) + " bytes, " +
             std::to_string(size) + " expected");
    }
    return got;
}

std::optional<std::vector<uint8_t>> readRomBytes(const std::string& name, std::size_t maxBytes)
{
    RomLocation where;
    auto bytes = readRomSource(romFiles().romPath, name, maxBytes, &where);
    if (!bytes)
        noteProblem(name, where);
    return bytes;
}

} // namespace vortastr
