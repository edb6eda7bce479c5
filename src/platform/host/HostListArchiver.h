#pragma once
#include "platform/ListArchiver.h"

namespace routelle {

// Keyed archives of string arrays as the platform's keyed archiver writes them
// (binary property list); reads binary or XML archives of NSArray or
// NSMutableArray holding NSString or NSMutableString objects.
class HostListArchiver final : public ListArchiver {
 public:
  Bytes archive(const std::vector<std::string>& list) const override;
  std::optional<std::vector<std::string>> unarchive(const Bytes& data) const override;
};

}  // namespace routelle
