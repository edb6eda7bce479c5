#pragma once
#include <optional>
#include <string>
#include <vector>

namespace routelle {

// Default handlers of URL schemes, and which applications can open a URL.
class LaunchServices {
 public:
  virtual ~LaunchServices() = default;
  virtual std::optional<std::string> defaultHandler(const std::string& scheme) = 0;
  virtual bool setDefaultHandler(const std::string& scheme, const std::string& bundleIdentifier) = 0;
  // File-system paths (decoded, as a URL's path reads) of every application that
  // can open the URL (a "file:" URL for a document).
  virtual std::vector<std::string> applicationsForURL(const std::string& url) = 0;
};

}  // namespace routelle
