#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <span>

#include "platform/Defaults.h"
#include "platform/ListArchiver.h"

namespace routelle::hostplist {

// How a binary archive is read: in place (the normal way), or through a libplist
// tree as XML archives always are. Both must agree; the fuzzer checks they do.
enum class BinaryReading { inPlace, libplist };

// What the list decoded from an archive of that many bytes may occupy. A
// string the archive repeats costs its full size each time it is decoded, so
// a small archive cannot stand for a huge list; each list being a value of a
// preferences file, reading a file's lists costs a multiple of its size too.
std::size_t maxDecodedListBytes(std::size_t archiveSize);
// What a decoded list occupies, in the measure of that bound.
std::size_t decodedListBytes(const std::vector<std::string>& list);

// The strings of a keyed archive of an NSArray/NSMutableArray of strings;
// nothing when the data is no such archive or decodes beyond the bound above.
std::optional<std::vector<std::string>> readKeyedStringArray(std::span<const std::uint8_t> data,
                                                             BinaryReading binary = BinaryReading::inPlace);
// The same texts viewed in the data's bytes where they lie there whole (UTF-8),
// so that reading a list makes no string per text.
std::optional<SharedTexts> readKeyedStringViews(const SharedData& data);

}  // namespace routelle::hostplist
