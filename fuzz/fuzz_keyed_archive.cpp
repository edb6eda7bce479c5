// Unarchives arbitrary bytes; whatever reads as a list must archive and read back
// unchanged, and the in-place and libplist-tree readings must never disagree.
#include <cstdint>
#include <cstdlib>

#include "platform/host/HostListArchiver.h"
#include "platform/host/KeyedArchiveReader.h"

using routelle::hostplist::BinaryReading;
using routelle::hostplist::readKeyedStringArray;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const routelle::HostListArchiver archiver;
  const routelle::Bytes bytes(data, data + size);
  const auto list = archiver.unarchive(bytes);
  const auto viaTree = readKeyedStringArray(bytes, BinaryReading::libplist);
  if (list && viaTree && *list != *viaTree) std::abort();
  for (const auto* decoded : {&list, &viaTree}) {
    if (!*decoded) continue;
    const routelle::Bytes again = archiver.archive(**decoded);
    if (archiver.unarchive(again) != *decoded) std::abort();
    if (readKeyedStringArray(again, BinaryReading::libplist) != *decoded) std::abort();
  }
  return 0;
}
