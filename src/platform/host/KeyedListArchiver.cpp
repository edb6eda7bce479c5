#include "platform/host/KeyedListArchiver.h"

#include "platform/host/KeyedArchiveReader.h"
#include "platform/host/KeyedArchiveWriter.h"

namespace routelle {

Bytes KeyedListArchiver::archive(const std::vector<std::string>& list) const {
  return hostplist::writeKeyedStringArray(list);
}

std::optional<std::vector<std::string>> KeyedListArchiver::unarchive(const Bytes& data) const {
  return hostplist::readKeyedStringArray(data);
}

}  // namespace routelle
