#include "video/graphics_sheet.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vortastr {

std::unique_ptr<GraphicsSheet> createSheet(int units)
{
    if (units <= 0)
        return nullptr;
    auto sheet = std::unique_ptr<GraphicsSheet>(new (std::nothrow) GraphicsSheet);
    if (!sheet)
        return nullptr;
    try {
        sheet->pixels.assign(std::size_t(units) * kUnitBytes, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    sheet->units = units;
    return sheet;
}

void fillSheet(GraphicsSheet& sheet, const uint8_t* pixels, int units, int firstLine)
{
    if (!pixels || units <= 0)
        return;
    const int lines = units * kUnitLines;
    const int first = std::max(firstLine, 0);
    const int last = std::min(firstLine + lines, sheet.lines());
    if (first >= last)
        return;
    std::memcpy(sheet.pixels.data() + std::size_t(first) * kSheetWidth,
                pixels + std::size_t(first - firstLine) * kSheetWidth, std::size_t(last - first) * kSheetWidth);
}

GraphicsSheets& graphicsSheets()
{
    static GraphicsSheets sheets;
    return sheets;
}

void releaseSheets()
{
    graphicsSheets().spriteSheet.reset();
    graphicsSheets().tileSheet.reset();
}

} // namespace vortastr
