#include "platform/host/HostListArchiver.h"

#include "platform/host/KeyedArchiveReader.h"
#include "platform/host/KeyedArchiveWriter.h"

namespace routelle {

Bytes HostListArchiver::archive(const std::vector<std::string>& list) const {
  return hostplist::writeKeyedStringArray(list);
}

std::optional<std::vector<std::string>> HostListArchiver::unarchive(std::span<const std::uint8_t> data) const {
  return hostplist::readKeyedStringArray(data);
}

std::optional<SharedTexts> HostListArchiver::unarchiveShared(const SharedData& data) const {
  return hostplist::readKeyedStringViews(data);
}

}  // namespace routelle
