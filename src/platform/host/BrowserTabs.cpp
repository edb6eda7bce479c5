#include "platform/host/BrowserTabs.h"

#include <algorithm>

namespace routelle {
namespace {

// Stored per browser as an archived list: the active tab's index, then the tabs.
std::vector<std::string> encode(const BrowserTabs::Window& window) {
  std::vector<std::string> list{std::to_string(window.active)};
  list.insert(list.end(), window.tabs.begin(), window.tabs.end());
  return list;
}

}  // namespace

BrowserTabs::BrowserTabs(const World& world)
    : store_(world.root() / "Library" / "Application Support" / "Browsers" / "tabs.plist") {}

std::optional<BrowserTabs::Window> BrowserTabs::window(const std::string& browser) {
  auto value = store_.object(browser);
  if (!value || !std::holds_alternative<Bytes>(*value)) return std::nullopt;
  auto list = archiver_.unarchive(std::get<Bytes>(*value));
  if (!list || list->size() < 2) return std::nullopt;
  Window window;
  window.tabs.assign(list->begin() + 1, list->end());
  const std::string& active = list->front();
  const bool digits = !active.empty() && active.size() < 9 &&
                      std::all_of(active.begin(), active.end(), [](char c) { return c >= '0' && c <= '9'; });
  window.active = digits ? std::min(std::stoul(active), window.tabs.size() - 1) : 0;
  return window;
}

bool BrowserTabs::setWindow(const std::string& browser, const Window& window) {
  // A browser loads an address without its tabs and line breaks, as the web's URL
  // parser removes them: no tab's URL holds one.
  Window loaded = window;
  for (auto& tab : loaded.tabs) std::erase_if(tab, [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
  if (loaded.tabs.empty())
    store_.remove(browser);
  else
    store_.set(browser, archiver_.archive(encode(loaded)));
  return store_.synchronize();
}

std::size_t BrowserTabs::closeTabs(const std::string& browser, const std::string& url) {
  std::size_t closed = 0;
  store_.transaction([&] {
    auto current = window(browser);
    if (!current) return;
    const std::string active = current->tabs[current->active];
    closed = static_cast<std::size_t>(std::erase(current->tabs, url));
    if (closed == 0) return;
    auto still = std::find(current->tabs.begin(), current->tabs.end(), active);
    current->active = still == current->tabs.end() ? 0 : static_cast<std::size_t>(still - current->tabs.begin());
    setWindow(browser, *current);
  });
  return closed;
}

}  // namespace routelle
