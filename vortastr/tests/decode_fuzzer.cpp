// Graphics decoders and the input-script parser on arbitrary bytes: every game's rule, any file
// sizes, any block count; nothing may read or write outside its buffers.
#include "boards/graphics_decode.h"
#include "shell/input.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const vortastr::GameId game = vortastr::toGameId(data[0] % vortastr::kGameCount);
    const int blocks = data[1] % 3 + 1;
    const std::size_t files = data[2] % 4 + 1;
    data += 3;
    size -= 3;
    vortastr::GraphicsInputs in;
    const std::size_t part = size / files;
    for (std::size_t f = 0; f < files; ++f)
        in[f].assign(data + f * part, data + (f + 1) * part);
    vortastr::decodeCharacterImage(game, in, blocks);
    vortastr::decodeSpriteImage(game, in, blocks);
    std::string error;
    vortastr::parseInputScript(std::string(reinterpret_cast<const char*>(data), size), error);
    return 0;
}
