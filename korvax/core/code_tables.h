// Area and peripheral codes of the disc header and their texts.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace korvax {

struct CodeText {
    char code;
    const char* text;
};

std::span<const CodeText> areaCodes();
std::span<const CodeText> peripheralCodes();

// The texts of the codes present anywhere in the field (upper case only), in table order,
// separated by ", " and ended with "."; empty when no known code is present.
std::string decodeCodes(std::string_view field, std::span<const CodeText> table);
std::string decodeAreas(std::string_view field);
std::string decodePeripherals(std::string_view field);

} // namespace korvax
