#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "settings/SettingsStore.h"

namespace routelle {

// The domain rules of one stored "domains" list, by host. Rebuilt only when the
// store hands out another decoded list, i.e. when the stored value changed.
class DomainRuleIndex {
 public:
  // The browser of the first rule for the host as linkHost reads it. Stored
  // domains are compared without regard to case or the root's trailing dot;
  // only domain positions count (DomainList), and a domain standing last
  // without its browser is no rule.
  std::optional<std::string> browserFor(const std::shared_ptr<const StoredList>& domains, const std::string& host);

 private:
  std::shared_ptr<const StoredList> indexed_;
  std::unordered_map<std::string, std::size_t> positions_;
};

// The per-application rules of one stored "perApp" list, by application name.
class AppRuleIndex {
 public:
  // The browser of the first rule for the application. An element without the
  // separator is one part: application and browser at once.
  std::optional<std::string> browserFor(const std::shared_ptr<const StoredList>& perApp,
                                        const std::string& application);

 private:
  std::shared_ptr<const StoredList> indexed_;
  std::unordered_map<std::string, std::string> browsers_;
};

}  // namespace routelle
