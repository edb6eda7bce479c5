#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Defaults.h"

namespace routelle {

// Keyed archive of an array of strings, in the platform's archiver format.
class ListArchiver {
 public:
  virtual ~ListArchiver() = default;
  virtual Bytes archive(const std::vector<std::string>& list) const = 0;
  // Nothing when the data is not an archived array of strings.
  virtual std::optional<std::vector<std::string>> unarchive(const Bytes& data) const = 0;
};

}  // namespace routelle
