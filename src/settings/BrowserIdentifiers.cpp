#include "settings/BrowserIdentifiers.h"

#include <algorithm>

#include "settings/Keys.h"
#include "settings/KnownBrowsers.h"
#include "support/Text.h"

namespace routelle {

std::vector<std::string> knownBrowserIdentifiers(Workspace& workspace) {
  std::vector<std::string> out;
  out.reserve(knownBrowsers.size());
  for (const auto& known : knownBrowsers) out.emplace_back(known.identifier);
  for (auto& identifier : workspace.systemBrowserIdentifiers()) {
    auto same = [&](const std::string& listed) { return text::equalsIgnoringCase(listed, identifier); };
    if (identifier.empty() || text::equalsIgnoringCase(identifier, domains::ownBundleIdentifier) ||
        std::any_of(out.begin(), out.end(), same))
      continue;
    out.push_back(std::move(identifier));
  }
  return out;
}

}  // namespace routelle
