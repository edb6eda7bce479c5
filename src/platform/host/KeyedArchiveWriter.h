#pragma once
#include <string>
#include <vector>

#include "platform/Defaults.h"

namespace routelle::hostplist {

// The binary plist of a keyed archive of an array of strings, written directly:
// libplist 2.2's writer dedups objects in a fixed 4096-bucket hash table, which
// makes a list of ten thousand rules several times too slow to encode.
Bytes writeKeyedStringArray(const std::vector<std::string>& list);

}  // namespace routelle::hostplist
