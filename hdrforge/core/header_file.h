// Reading and writing the header at the start of a .nes game or a .hdr header file.
#pragma once

#include <cstdint>
#include <string>

#include "nes_header.h"

namespace hdrforge {

enum class FileKind { Game, Header, Other };

// A name ending in ".nes" is a game, ".hdr" a header, in any mix of case.
FileKind classifyFileName(const std::string& name);

// Message for a chosen file with neither ending.
std::string unknownKindText(const std::string& fileTitle);

struct HeaderRead {
    HeaderBytes bytes{};        // the first 16 bytes; a shorter file is padded with zeros
    std::uint64_t fileSize = 0; // the file's length in bytes
};

// Reads the header of a regular file. Folders, devices, missing and unreadable files fail
// with a message in error and leave out untouched.
bool readHeaderFile(const std::string& path, HeaderRead& out, std::string& error);

// Writes the 16 header bytes at the start of path, leaving every later byte as it is.
// A new file, or one the header fills entirely, is written through a temporary file and a
// rename; a longer file (a game) has its first 16 bytes overwritten in place, so its ROM data,
// length, permissions and links stay. A read-only or unwritable file is an error, and so is a
// missing file when ifMissing is Fail (a game that vanished is not re-created as a bare header).
enum class IfMissing { Create, Fail };
bool writeHeaderInto(const std::string& path, const HeaderBytes& header, std::string& error,
                     IfMissing ifMissing = IfMissing::Create);

// Empty when a game of fileSize bytes matches its header, else a note such as
// "size does not match the header: 40976 bytes expected".
std::string sizeMismatchNote(const HeaderFields& fields, std::uint64_t fileSize);

} // namespace hdrforge
