#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Workspace.h"
#include "settings/SettingsStore.h"

namespace routelle {

struct InstalledBrowser {
  std::string name;  // bundle file name without ".app": the name rules store
  std::string path;  // platform path of the bundle; also its icon reference
  std::string bundleIdentifier;
  bool added = false;  // from "addedbrowsers" rather than the known table
  // The bundle's file name with ".app", how some lists name added browsers.
  std::string fileName() const { return name + ".app"; }
};

// An entry of the per-application editor's application list.
struct Apps {
  std::string name;
};

// Which browsers a link can go to, and under what names.
class BrowserRegistry {
 public:
  BrowserRegistry(SettingsStore& settings, Workspace& workspace);

  // Known browsers in table order, then added ones in the order of adding;
  // those the workspace cannot resolve are skipped.
  std::vector<InstalledBrowser> installedBrowsers() const;

  bool isInstalledApplication(const std::string& name) const;
  std::optional<std::string> pathForIdentifier(const std::string& identifier) const {
    return workspace_.pathForBundleIdentifier(identifier);
  }
  std::optional<std::string> bundleIdentifier(const std::string& name) const;

  // Both answer whether the identifier was stored; the caller refreshes menus.
  bool addBrowserAtPath(const std::string& path);
  bool addBrowserNamed(const std::string& name);
  bool removeAddedBrowser(const std::string& name);
  // By identifier; a default choice naming the removed browser falls back to the list.
  bool removeAddedIdentifier(const std::string& identifier);

  // The non-empty identifiers of "addedbrowsers" (none when undecodable).
  std::vector<std::string> addedIdentifiers() const;

  // Hides or shows the browser named by a "Hidden browsers" entry title
  // ("✓Name" when hidden, three blanks and the name when shown).
  void hideBrowsersWithSender(const std::string& title);
  // The status menu's test ("✓" and the name) and the chooser's (the name alone).
  bool isHiddenInMenus(const std::string& name) const;
  bool isHiddenInChooser(const std::string& name) const;

 private:
  bool addIdentifier(const std::string& identifier);
  bool removeIdentifier(const std::string& identifier, const std::optional<std::string>& displayName);

  SettingsStore& settings_;
  Workspace& workspace_;
};

}  // namespace routelle
