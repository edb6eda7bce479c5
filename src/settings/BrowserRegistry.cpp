#include "settings/BrowserRegistry.h"

#include <algorithm>

#include "settings/BrowserIdentifiers.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::string_view kCheck = "✓";

constexpr std::string_view kProgramName = "routelle";

bool sameIdentifier(std::string_view a, std::string_view b) { return text::equalsIgnoringCase(a, b); }

}  // namespace

BrowserRegistry::BrowserRegistry(SettingsStore& settings, Workspace& workspace)
    : settings_(settings), workspace_(workspace) {}

std::vector<std::string> BrowserRegistry::addedIdentifiers() const {
  std::vector<std::string> out;
  for (auto& id : settings_.getList(keys::addedBrowsers).items)
    if (!id.empty()) out.push_back(std::move(id));
  return out;
}

std::vector<InstalledBrowser> BrowserRegistry::installedBrowsers() const {
  std::vector<InstalledBrowser> out;
  auto add = [&](const std::string& identifier, bool added) {
    if (auto path = workspace_.pathForBundleIdentifier(identifier))
      out.push_back({displayNameOfBundle(*path), *path, identifier, added});
  };
  for (const auto& identifier : knownBrowserIdentifiers(workspace_)) add(identifier, false);
  for (const auto& identifier : addedIdentifiers()) add(identifier, true);
  return out;
}

bool BrowserRegistry::isOwnBundleIdentifier(std::string_view identifier) {
  return sameIdentifier(identifier, domains::ownBundleIdentifier);
}

std::string BrowserRegistry::displayNameOfBundle(std::string_view pathOrFileName) {
  while (pathOrFileName.size() > 1 && pathOrFileName.ends_with('/')) pathOrFileName.remove_suffix(1);
  std::string name = text::lastPathComponent(pathOrFileName);
  constexpr std::string_view kSuffix = ".app";
  if (name.size() > kSuffix.size() &&
      text::equalsIgnoringCase(std::string_view(name).substr(name.size() - kSuffix.size()), kSuffix))
    name.resize(name.size() - kSuffix.size());
  return name;
}

bool BrowserRegistry::namesListedBrowser(std::string_view listed, std::string_view name) {
  if (name.empty()) return false;
  return text::equalsIgnoringCase(displayNameOfBundle(listed), displayNameOfBundle(name));
}

bool BrowserRegistry::isProgramItself(const std::string& name) const {
  std::string_view bare = name;
  while (bare.size() > 1 && bare.back() == '/') bare.remove_suffix(1);
  const size_t slash = bare.find_last_of('/');
  std::string_view last = slash == std::string_view::npos ? bare : bare.substr(slash + 1);
  if (last.size() > 4 && text::equalsIgnoringCase(last.substr(last.size() - 4), ".app")) last.remove_suffix(4);
  if (text::equalsIgnoringCase(last, kProgramName)) return true;
  // A renamed copy of the program is still the program.
  if (name.find('/') == std::string::npos) return foundProgramItself(name).value_or(false);
  const auto identifier = workspace_.bundleIdentifier(std::string(bare));
  return identifier && isOwnBundleIdentifier(*identifier);
}

std::optional<bool> BrowserRegistry::foundProgramItself(const std::string& name) const {
  const auto generation = workspace_.applicationsGeneration();
  if (generation) {
    std::lock_guard lock(foundMutex_);
    if (found_.generation != *generation) {
      found_.itself.clear();
      found_.generation = *generation;
    }
    if (auto known = found_.itself.find(name); known != found_.itself.end()) return known->second;
  }
  // A name found nowhere is asked again next time: the workspace may look afresh then.
  const auto identifier = bundleIdentifier(name);
  if (!identifier) return std::nullopt;
  const bool itself = isOwnBundleIdentifier(*identifier);
  if (generation) {
    std::lock_guard lock(foundMutex_);
    // Bounded: names come from stored rules, but nothing stops a script from trying many.
    if (found_.generation == *generation && found_.itself.size() < 256) found_.itself.emplace(name, itself);
  }
  return itself;
}

std::optional<std::string> BrowserRegistry::installedDisplayName(const std::string& name) const {
  auto path = workspace_.fullPathForApplication(name);
  if (!path || !workspace_.bundleIdentifier(*path)) return std::nullopt;
  return displayNameOfBundle(*path);
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
  if (identifier.empty() || isOwnBundleIdentifier(identifier)) return false;
  bool stored = false;
  settings_.transaction([&] {
    StoredList list = settings_.getList(keys::addedBrowsers);
    if (list.state == StoredList::State::undecodable) {
      // Rewriting would lose whatever the unreadable list held.
      settings_.report()("\"addedbrowsers\" cannot be unarchived; left unchanged");
      return;
    }
    if (list.state == StoredList::State::absent || list.items.empty()) list.items = {""};
    auto same = [&](const std::string& item) { return sameIdentifier(item, identifier); };
    if (std::any_of(list.items.begin(), list.items.end(), same)) return;
    list.items.push_back(identifier);
    settings_.setList(keys::addedBrowsers, list.items);
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
  return !identifier.empty() && removeIdentifier(identifier, "");
}

bool BrowserRegistry::removeIdentifier(const std::string& identifier, const std::string& name) {
  // The names the default action may hold for this browser: as given, or as the lists name it.
  std::vector<std::string> names;
  if (!name.empty()) names.push_back(name);
  if (auto path = workspace_.pathForBundleIdentifier(identifier)) {
    names.push_back(displayNameOfBundle(*path));
    names.push_back(displayNameOfBundle(*path) + ".app");
  }
  bool removed = false;
  settings_.transaction([&] {
    StoredList list = settings_.getList(keys::addedBrowsers);
    if (list.state != StoredList::State::list) return;
    auto it = std::find_if(list.items.begin(), list.items.end(),
                           [&](const std::string& stored) { return sameIdentifier(stored, identifier); });
    if (it == list.items.end()) return;
    list.items.erase(it);
    settings_.setList(keys::addedBrowsers, list.items);
    const auto login = settings_.getString(keys::defaultChoice);
    if (login && std::find(names.begin(), names.end(), *login) != names.end())
      settings_.setString(keys::defaultChoice, values::showBrowserList);
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
