#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/HostDefaults.h"
#include "platform/host/HostListArchiver.h"
#include "platform/host/World.h"

namespace routelle {

// Window 1 of each browser of the host world: its tabs' URLs and the active tab.
// Kept in a file of the world so that separate runs of the driver see the same
// tabs; a browser without an entry has no window.
class BrowserTabs {
 public:
  struct Window {
    std::vector<std::string> tabs;
    std::size_t active = 0;  // index into tabs
  };

  explicit BrowserTabs(const World& world);

  std::optional<Window> window(const std::string& browser);
  // An empty list of tabs closes the window. Tabs and line breaks in an address
  // are dropped, as a browser drops them.
  bool setWindow(const std::string& browser, const Window& window);
  // Closes every tab whose URL equals the text; answers how many were closed.
  std::size_t closeTabs(const std::string& browser, const std::string& url);

 private:
  HostDefaults store_;
  HostListArchiver archiver_;
};

}  // namespace routelle
