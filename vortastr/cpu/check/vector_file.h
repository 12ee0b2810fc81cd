#pragma once
// Reading the gzip'd JSON vector files and the folder listing of the shared layout.
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace vortastr::cpucheck {

// Reads a whole file, inflating it when it is gzip'd. Returns false with a message on failure.
bool readMaybeGzip(const std::filesystem::path& file, std::string& contents, std::string& error);

// Parses a vector file into its array of cases. Returns false with a message on failure.
bool loadVectorFile(const std::filesystem::path& file, nlohmann::json& cases, std::string& error);

// "10_a3.json.gz" -> "10_a3".
std::string vectorStem(const std::filesystem::path& file);

// The vector files of a folder (*.json.gz and *.json, but not metadata.json), sorted by name;
// a file path stands for itself.
std::vector<std::filesystem::path> vectorFilesIn(const std::filesystem::path& path);

// Parses "0x1F", "1f", "$1F" or "31" (decimal only without hex letters and without 0x).
bool parseAddress(const std::string& text, uint32_t& value);

// The same forms for a 64-bit count (--max-steps: a long exerciser runs billions of steps).
bool parseCount(const std::string& text, uint64_t& value);

// "F000:FFF0": a segment and an offset of one to four hex digits each (the V30's start).
bool parseSegmentOffset(const std::string& text, uint16_t& segment, uint16_t& offset);

} // namespace vortastr::cpucheck
