#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileManager.h"

// File reading and writing that both platforms' file managers share: POSIX
// calls on a path of the machine's own file system.
namespace routelle::posix {

// The whole of a regular file of at most maxBytes. Opened without blocking and
// checked on the open descriptor, so a FIFO or a device in the file's place can
// neither stall the program nor be swapped in after the check.
FileContents readRegularFile(const std::string& path, std::size_t maxBytes);

// Replaces the file whole through a hidden temporary beside it, so that an
// interrupted write never leaves a torn file nor loses the one it replaces.
// Whatever is not a regular file in its place (a link, a FIFO, a folder) is
// left alone and the write fails.
bool replaceRegularFile(const std::string& path, std::string_view bytes);

}  // namespace routelle::posix
