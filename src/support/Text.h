#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace routelle::text {

// Unicode-aware case mapping (root locale), as the platform's string class does it.
std::string lowercased(std::string_view s);
// First letter of every blank-separated word upper case, the rest lower case.
std::string capitalized(std::string_view s);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

bool isValidUtf8(std::string_view s);
// Length in UTF-16 code units, as the platform's strings count characters.
std::size_t characterCount(std::string_view s);
bool contains(std::string_view haystack, std::string_view needle);
// Literal replacement of every occurrence, left to right, without rescanning.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
std::vector<std::string> split(std::string_view s, std::string_view separator);
// The last "/"-separated component.
std::string lastPathComponent(std::string_view path);

}  // namespace routelle::text
