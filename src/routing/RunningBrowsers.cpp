#include "routing/RunningBrowsers.h"

#include <algorithm>

#include "settings/KnownBrowsers.h"
#include "support/Text.h"

namespace routelle {

std::string runningBrowserName(const std::string& bundlePath, const std::string& bundleIdentifier) {
  std::string name = text::replaceAll(text::lastPathComponent(bundlePath), ".app", "");
  if (name == "Opera" && bundleIdentifier == "com.operasoftware.OperaDeveloper") name = "Opera Developer";
  return name;
}

bool namesRunningBrowser(const std::string& browser, const std::string& name) {
  return browser == text::capitalized(name) || browser == name;
}

namespace {

std::string browserKey(std::string_view text) {
  while (text.size() > 1 && text.back() == '/') text.remove_suffix(1);
  std::string name = text::lowercased(text::lastPathComponent(text));
  if (name.ends_with(".app")) name.resize(name.size() - 4);
  return name;
}

}  // namespace

bool namesSameBrowser(const std::string& one, const std::string& other) { return browserKey(one) == browserKey(other); }

std::optional<std::string> firstRunningKnownBrowser(Workspace& workspace) {
  return firstRunningKnownBrowser(workspace.runningApplications());
}

std::optional<std::string> firstRunningKnownBrowser(const std::vector<RunningApplication>& running) {
  auto known = [](const std::string& name) {
    return std::find(knownBrowserNames.begin(), knownBrowserNames.end(), name) != knownBrowserNames.end();
  };
  for (const auto& app : running) {
    if (!app.bundlePath) continue;
    const std::string name = runningBrowserName(*app.bundlePath, app.bundleIdentifier);
    if (known(text::capitalized(name)) || known(name)) return name;
  }
  return std::nullopt;
}

}  // namespace routelle
