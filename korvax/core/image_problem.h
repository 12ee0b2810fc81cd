// Why a file could not be opened as a disc image, in words a user can act on.
#pragma once

#include <string>

namespace korvax {

// The reason for a path that openImageFile refused: the system's words when the file (or the
// track file a cue sheet names) cannot be opened, else what is wrong with its contents.
std::string imageOpenProblem(const std::string& path);

// The image-open fault message with the file's name and the reason added after it.
std::string imageOpenFaultText(const std::string& path, const std::string& reason);

} // namespace korvax
