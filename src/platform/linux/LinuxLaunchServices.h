#pragma once
#include "platform/LaunchServices.h"

namespace routelle {

// Default handlers through the desktop's own tools: `xdg-mime` for a scheme
// (x-scheme-handler/SCHEME), and for the web also `xdg-settings`' default web
// browser, which covers text/html as well.
class LinuxLaunchServices final : public LaunchServices {
 public:
  std::optional<std::string> defaultHandler(const std::string& scheme) override;
  bool setDefaultHandler(const std::string& scheme, const std::string& bundleIdentifier) override;
  std::vector<std::string> applicationsForURL(const std::string& url) override;
};

}  // namespace routelle
