#include "settings/BrowserRegistry.h"

#include <algorithm>
#include <iostream>

#include "settings/Keys.h"
#include "settings/KnownBrowsers.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::string_view kCheck = "✓";

std::string displayName(const std::string& path) {
  std::string name = text::lastPathComponent(path);
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".app") == 0) name.resize(name.size() - 4);
  return name;
}

bool isOwnIdentifier(const std::string& identifier) {
  return text::lowercased(identifier) == text::lowercased(domains::ownBundleIdentifier);
}

}  // namespace

BrowserRegistry::BrowserRegistry(SettingsStore& settings, Workspace& workspace)
    : settings_(settings), workspace_(workspace) {}

std::vector<std::string> BrowserRegistry::addedIdentifiers() const {
  std::vector<std::string> out;
  for (auto& id : settings_.getList(keys::addedbrowsers).items)
    if (!id.empty()) out.push_back(std::move(id));
  return out;
}

std::vector<InstalledBrowser> BrowserRegistry::installedBrowsers() const {
  std::vector<InstalledBrowser> out;
  auto add = [&](const std::string& identifier, bool added) {
    if (auto path = workspace_.pathForBundleIdentifier(identifier))
      out.push_back({displayName(*path), *path, identifier, added});
  };
  for (const auto& known : knownBrowsers) add(std::string(known.identifier), false);
  for (const auto& identifier : addedIdentifiers()) add(identifier, true);
  return out;
}

std::optional<std::string> BrowserRegistry::bundleIdentifier(const std::string& name) const {
  auto path = workspace_.fullPathForApplication(name);
  if (!path) return std::nullopt;
  return workspace_.bundleIdentifier(*path);
}

bool BrowserRegistry::isInstalledApplication(const std::string& name) const {
  return bundleIdentifier(name).has_value();
}

bool BrowserRegistry::addIdentifier(const std::string& identifier) {
  if (identifier.empty() || isOwnIdentifier(identifier)) return false;
  bool stored = false;
  settings_.transaction([&] {
    StoredList list = settings_.getList(keys::addedbrowsers);
    if (list.state == StoredList::State::undecodable) {
      // Rewriting would lose whatever the unreadable list held.
      std::cerr << "routelle: \"addedbrowsers\" cannot be unarchived; left unchanged\n";
      return;
    }
    if (list.state == StoredList::State::absent || list.items.empty()) list.items = {""};
    if (std::find(list.items.begin(), list.items.end(), identifier) != list.items.end()) return;
    list.items.push_back(identifier);
    settings_.setList(keys::addedbrowsers, list.items);
    stored = true;
  });
  return stored;
}

bool BrowserRegistry::addBrowserAtPath(const std::string& path) {
  auto identifier = workspace_.bundleIdentifier(path);
  return identifier && addIdentifier(*identifier);
}

bool BrowserRegistry::addBrowserNamed(const std::string& name) {
  auto identifier = bundleIdentifier(name);
  return identifier && addIdentifier(*identifier);
}

bool BrowserRegistry::removeAddedBrowser(const std::string& name) {
  auto identifier = bundleIdentifier(name);
  return identifier && removeIdentifier(*identifier, name);
}

bool BrowserRegistry::removeAddedIdentifier(const std::string& identifier) {
  // The name the default choice would hold, read while the browser is still known.
  std::optional<std::string> name;
  if (auto path = workspace_.pathForBundleIdentifier(identifier)) name = displayName(*path);
  return removeIdentifier(identifier, name);
}

bool BrowserRegistry::removeIdentifier(const std::string& identifier, const std::optional<std::string>& name) {
  bool removed = false;
  settings_.transaction([&] {
    StoredList list = settings_.getList(keys::addedbrowsers);
    if (list.state != StoredList::State::list) return;
    auto it = std::find(list.items.begin(), list.items.end(), identifier);
    if (it == list.items.end()) return;
    list.items.erase(it);
    settings_.setList(keys::addedbrowsers, list.items);
    if (name && settings_.getString(keys::login) == *name) settings_.setString(keys::login, values::showBrowserList);
    removed = true;
  });
  return removed;
}

void BrowserRegistry::hideBrowsersWithSender(const std::string& title) {
  settings_.transaction([&] {
    std::string hidden = settings_.ensureString(keys::hiddenBrowsers, "");
    const std::string name = text::replaceAll(title, kCheck, "");
    if (text::contains(title, kCheck)) {
      hidden = text::replaceAll(hidden, title, " ");
      hidden = text::replaceAll(hidden, name, " ");
    } else {
      hidden += " ";
      hidden += kCheck;
      hidden += text::replaceAll(title, "   ", "");
      hidden += " ";
    }
    settings_.setString(keys::hiddenBrowsers, hidden);
  });
}

bool BrowserRegistry::isHiddenInMenus(const std::string& name) const {
  auto hidden = settings_.getString(keys::hiddenBrowsers);
  return hidden && text::contains(*hidden, std::string(kCheck) + name);
}

bool BrowserRegistry::isHiddenInChooser(const std::string& name) const {
  auto hidden = settings_.getString(keys::hiddenBrowsers);
  return hidden && text::contains(*hidden, name);
}

}  // namespace routelle
