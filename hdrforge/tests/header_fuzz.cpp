// Fuzz target: arbitrary header bytes, mapper texts and KEY=VALUE settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "command_line.h"
#include "header_file.h"
#include "mapper_table.h"

using namespace hdrforge;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    HeaderBytes bytes{};
    for (std::size_t i = 0; i < size && i < bytes.size(); ++i)
        bytes[i] = data[i];
    HeaderFields fields = decodeHeader(bytes);
    // A decoded header written and read again keeps every field the editor shows.
    if (decodeHeader(encodeHeader(fields)) != fields)
        std::abort();
    describeHeader("fuzz.nes", bytes, size);
    std::string rest(reinterpret_cast<const char*>(data), size);
    findMapperDescForText(rest);
    std::string error;
    HeaderFields edited = fields;
    if (applyFieldSetting(rest, edited, error) && (edited.mapper < 0 || edited.mapper > 255))
        std::abort();
    classifyFileName(rest);
    return 0;
}
