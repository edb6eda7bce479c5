#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Defaults.h"

namespace routelle::hostplist {

// How a binary archive is read: in place (the normal way), or through a libplist
// tree as XML archives always are. Both must agree; the fuzzer checks they do.
enum class BinaryReading { inPlace, libplist };

// The strings of a keyed archive of an NSArray/NSMutableArray of strings.
std::optional<std::vector<std::string>> readKeyedStringArray(const Bytes& data,
                                                             BinaryReading binary = BinaryReading::inPlace);

}  // namespace routelle::hostplist
