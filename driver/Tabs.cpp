// Window 1 of a browser of the world: set its tabs, or print them.
#include <ostream>

#include "Driver.h"
#include "platform/host/BrowserTabs.h"

namespace routelle::driver {

void setOrPrintTabs(const World& world, const TabsRequest& request, std::ostream& out) {
  if (request.browser.empty()) throw UsageError("tabs needs a browser name");
  BrowserTabs tabs(world);
  const std::string& browser = request.browser;
  BrowserTabs::Window window;
  window.tabs = request.tabs;
  std::optional<std::size_t> active;
  if (request.active) {
    const std::string& n = *request.active;
    if (n.empty() || n.size() > 6 || n.find_first_not_of("0123456789") != std::string::npos || std::stoul(n) == 0)
      throw UsageError("--active needs a tab number from 1 on, not \"" + n + "\"");
    active = std::stoul(n) - 1;
  }
  if (window.tabs.empty()) {
    if (active) throw UsageError("--active needs tabs to choose from");
    auto shown = tabs.window(browser);
    if (!shown) {
      out << browser << " has no window\n";
      return;
    }
    for (std::size_t i = 0; i < shown->tabs.size(); ++i)
      out << (i == shown->active ? "* " : "  ") << shown->tabs[i] << "\n";
    return;
  }
  window.active = active.value_or(0);
  if (window.active >= window.tabs.size())
    throw UsageError("--active " + std::to_string(window.active + 1) + " names no tab of " +
                     std::to_string(window.tabs.size()));
  if (!tabs.setWindow(browser, window)) throw std::runtime_error("the tabs of " + browser + " cannot be stored");
}

}  // namespace routelle::driver
