// Zip archive opening on arbitrary bytes: the directory, member lookup by name (exact, without
// regard to case, by last component) and member reads must neither crash nor run away.
#include "boards/rom_archive.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::string problem;
    const auto archive = vortastr::openRomArchiveBytes(std::span<const uint8_t>(data, size), problem);
    if (!archive)
        return 0;
    int reads = 0;
    for (const vortastr::ArchiveMember& member : vortastr::archiveMembers(*archive)) {
        if (++reads > 16)
            break;
        std::string upper = member.name;
        for (char& c : upper)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        for (const std::string& name : {member.name, upper, "game\\" + upper})
            if (const auto found = vortastr::findArchiveMember(*archive, name)) {
                std::vector<uint8_t> bytes;
                vortastr::readArchiveMember(*archive, *found, 1u << 20, bytes, problem);
            }
    }
    return 0;
}
