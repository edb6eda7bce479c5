#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
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
  // The display name of the installed application a name (with or without
  // ".app", in any case) stands for; nothing when none has a bundle identifier.
  std::optional<std::string> installedDisplayName(const std::string& name) const;
  std::optional<std::string> pathForIdentifier(const std::string& identifier) const {
    return workspace_.pathForBundleIdentifier(identifier);
  }
  std::optional<std::string> bundleIdentifier(const std::string& name) const;

  // Whether a browser name (display name, bundle file name or path) names this
  // program: a link sent there would come straight back, without end.
  bool isProgramItself(const std::string& name) const;
  static bool isOwnBundleIdentifier(std::string_view identifier);

  // Whether a stored browser text names the browser a list shows under
  // `listed`: the launcher takes the display name, the bundle's file name
  // ("Arc.app") and its path alike, without regard to case.
  static bool namesListedBrowser(std::string_view listed, std::string_view name);
  // An application's display name from its bundle's path or file name: the
  // last path component without its ".app" suffix ("Notes.app Helper" keeps its own).
  static std::string displayNameOfBundle(std::string_view pathOrFileName);

  // Both answer whether the identifier was stored; the caller refreshes menus.
  // Identifiers are compared without regard to case, as the platform does.
  bool addBrowserAtPath(const std::string& path);
  bool addBrowserNamed(const std::string& name);
  bool removeAddedBrowser(const std::string& name);
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
  // Removes the identifier; resets the default action when it names the browser.
  bool removeIdentifier(const std::string& identifier, const std::string& name);

  // Whether an installed application is the program, as found by name.
  std::optional<bool> foundProgramItself(const std::string& name) const;

  SettingsStore& settings_;
  Workspace& workspace_;
  // Every link asks whether its browser is the program: the answers for names
  // the workspace found stand while its applications stay as they were.
  struct FoundIdentities {
    std::uint64_t generation = 0;
    std::map<std::string, bool, std::less<>> itself;
  };
  mutable FoundIdentities found_;
  mutable std::mutex foundMutex_;  // the tab watcher asks from its own queue
};

}  // namespace routelle
