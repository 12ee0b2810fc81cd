#include "size_lists.h"

namespace hdrforge {

std::string programPagesText(int pages)
{
    return std::to_string(16384L * pages) + " bytes (" + std::to_string(pages) + " x 16kb pages)";
}

std::string characterPagesText(int pages)
{
    if (pages == 0)
        return "No CHR";
    return std::to_string(8192L * pages) + " bytes (" + std::to_string(pages) + " x 8kb pages)";
}

} // namespace hdrforge
