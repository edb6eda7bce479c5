// Unarchives arbitrary bytes; whatever reads as a list must archive and read back
// unchanged (unless its archived form is too small for what it decodes to), the
// in-place and libplist-tree readings must never disagree (nor the views read in
// place with either), and none may hold more memory than a multiple of the
// input's size.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "AllocationPeak.h"
#include "platform/host/HostListArchiver.h"
#include "platform/host/KeyedArchiveReader.h"

using routelle::hostplist::BinaryReading;
using routelle::hostplist::readKeyedStringArray;
using routelle::hostplist::readKeyedStringViews;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const routelle::HostListArchiver archiver;
  const routelle::Bytes bytes(data, data + size);
  std::optional<std::vector<std::string>> list, viaTree;
  std::optional<routelle::SharedTexts> views;
  {
    const fuzzing::AllocationPeak peak;
    list = archiver.unarchive(bytes);
    viaTree = readKeyedStringArray(bytes, BinaryReading::libplist);
    if (peak.bytes() > fuzzing::allowedPeak(size)) std::abort();
  }
  {
    const fuzzing::AllocationPeak peak;
    // Kept by the views alone: their texts must outlive every other copy of the bytes.
    auto kept = std::make_shared<const routelle::Bytes>(bytes);
    const std::span<const std::uint8_t> inKept(*kept);
    views = readKeyedStringViews({std::move(kept), inKept});
    if (peak.bytes() > fuzzing::allowedPeak(size)) std::abort();
  }
  if (list && viaTree && *list != *viaTree) std::abort();
  if (views.has_value() != list.has_value()) std::abort();
  if (views && !std::equal(views->texts.begin(), views->texts.end(), list->begin(), list->end())) std::abort();
  for (const auto* decoded : {&list, &viaTree}) {
    if (!*decoded) continue;
    const routelle::Bytes again = archiver.archive(**decoded);
    // Equal strings are archived once, so the new archive may be too small for
    // its list; that is the one reason it may not read back.
    const bool withinBound =
        routelle::hostplist::decodedListBytes(**decoded) <= routelle::hostplist::maxDecodedListBytes(again.size());
    if (withinBound && archiver.unarchive(again) != *decoded) std::abort();
    if (withinBound && readKeyedStringArray(again, BinaryReading::libplist) != *decoded) std::abort();
  }
  return 0;
}
