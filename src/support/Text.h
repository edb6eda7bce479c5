#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace routelle {
class TextServices;
}

namespace routelle::text {

// The platform's Unicode services for every call below that needs them; installed
// once by the composition root (the services outlive every use). Until then, and
// without one, case mapping touches ASCII letters only.
void useServices(const TextServices* services);

// Unicode-aware case mapping (root locale), as the platform's string class does it.
std::string lowercased(std::string_view s);
// First letter of every blank-separated word upper case, the rest lower case.
std::string capitalized(std::string_view s);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// The first `count` composed character sequences of s, or all of s when it has no more.
std::string composedCharacterPrefix(std::string_view s, std::size_t count);

bool isValidUtf8(std::string_view s);
// Length in UTF-16 code units, as the platform's strings count characters (one
// U+FFFD for each ill-formed sequence).
std::size_t characterCount(std::string_view s);
// The code point that starts at `at`, which moves past it; -1 for an ill-formed
// sequence, which `at` moves past by its maximal subpart (the platform's strings
// read each such part as one U+FFFD). `at` must be inside s.
std::int32_t nextCodePoint(std::string_view s, std::size_t& at);
// s with every ill-formed sequence replaced by U+FFFD.
std::string withReplacementCharacters(std::string_view s);
bool contains(std::string_view haystack, std::string_view needle);
// Literal replacement of every occurrence, left to right, without rescanning.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
std::vector<std::string> split(std::string_view s, std::string_view separator);
// The last "/"-separated component.
std::string lastPathComponent(std::string_view path);

}  // namespace routelle::text
