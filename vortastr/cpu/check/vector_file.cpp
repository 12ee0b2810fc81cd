#include "vector_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

namespace vortastr::cpucheck {

bool readMaybeGzip(const std::filesystem::path& file, std::string& contents, std::string& error)
{
    // gzread passes plain files through unchanged, so one path reads both forms.
    gzFile in = gzopen(file.string().c_str(), "rb");
    if (!in) {
        error = "cannot open " + file.string();
        return false;
    }
    contents.clear();
    char buffer[1 << 16];
    for (;;) {
        int n = gzread(in, buffer, sizeof buffer);
        if (n < 0) {
            int code = 0;
            error = file.string() + ": " + gzerror(in, &code);
            gzclose(in);
            return false;
        }
        if (n == 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    gzclose(in);
    return true;
}

bool loadVectorFile(const std::filesystem::path& file, nlohmann::json& cases, std::string& error)
{
    std::string text;
    if (!readMaybeGzip(file, text, error))
        return false;
    cases = nlohmann::json::parse(text, nullptr, false);
    if (cases.is_discarded() || !cases.is_array()) {
        error = file.string() + ": not a JSON array of cases";
        return false;
    }
    return true;
}

std::string vectorStem(const std::filesystem::path& file)
{
    std::string name = file.filename().string();
    for (const char* suffix : {".json.gz", ".json"}) {
        std::string s(suffix);
        if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0)
            return name.substr(0, name.size() - s.size());
    }
    return name;
}

std::vector<std::filesystem::path> vectorFilesIn(const std::filesystem::path& path)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) {
        files.push_back(path);
        return files;
    }
    for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
        if (!entry.is_regular_file())
            continue;
        std::string name = entry.path().filename().string();
        if (name == "metadata.json")
            continue;
        if (vectorStem(entry.path()) != name)
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool parseCount(const std::string& text, uint64_t& value)
{
    std::string digits = text;
    unsigned base = 10;
    if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) {
        digits = digits.substr(2);
        base = 16;
    } else if (!digits.empty() && digits[0] == '$') {
        digits = digits.substr(1);
        base = 16;
    }
    if (digits.empty())
        return false;
    uint64_t result = 0;
    for (char c : digits) {
        unsigned d;
        if (c >= '0' && c <= '9')
            d = unsigned(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = unsigned(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = unsigned(c - 'A' + 10);
        else
            return false;
        if (result > (UINT64_MAX - d) / base)
            return false;
        result = result * base + d;
    }
    value = result;
    return true;
}

bool parseAddress(const std::string& text, uint32_t& value)
{
    uint64_t result = 0;
    if (!parseCount(text, result) || result > 0xFFFFFFFFull)
        return false;
    value = static_cast<uint32_t>(result);
    return true;
}

bool parseSegmentOffset(const std::string& text, uint16_t& segment, uint16_t& offset)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 4 || text.size() - colon - 1 == 0 ||
        text.size() - colon - 1 > 4)
        return false;
    uint64_t seg = 0, off = 0;
    if (!parseCount("0x" + text.substr(0, colon), seg) || !parseCount("0x" + text.substr(colon + 1), off))
        return false;
    segment = static_cast<uint16_t>(seg);
    offset = static_cast<uint16_t>(off);
    return true;
}

} // namespace vortastr::cpucheck
