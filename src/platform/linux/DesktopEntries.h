#pragma once
#include <optional>
#include <string>
#include <vector>

namespace routelle::linux_desktop {

// An installed application as its desktop entry describes it.
//
// The core names applications by platform path and takes an application's name
// from the path's last component. On this desktop an application's path is its
// entry's file path without ".desktop" ("/usr/share/applications/firefox-esr"), so
// the name is the entry's id ("firefox-esr") and its bundle identifier is the id too.
struct DesktopEntry {
  std::string id;           // "firefox-esr" (file id without ".desktop")
  std::string path;         // the entry's file without ".desktop"
  std::string name;         // its Name=
  std::string icon;         // icon theme name or file
  std::string program;      // the Exec line's program, resolved through PATH
  bool webBrowser = false;  // MimeType holds x-scheme-handler/http or https
};

// The desktop entries of $XDG_DATA_HOME and $XDG_DATA_DIRS, read through GIO.
class DesktopEntries {
 public:
  // Every entry that is shown in menus, in GIO's order.
  static std::vector<DesktopEntry> all();
  static std::optional<DesktopEntry> byId(const std::string& id);
  // The id without ".desktop" or the entry's Name, without regard to case.
  static std::optional<DesktopEntry> byName(const std::string& name);
  // The entry whose Exec program is one of the executables ("" entries ignored).
  static std::optional<DesktopEntry> byProgram(const std::vector<std::string>& executables);
  // Starts the entry's Exec line with the URIs, field codes expanded by GIO,
  // never through a shell; false when it could not be started.
  static bool launch(const std::string& id, const std::vector<std::string>& uris);
  // The file-system path of an entry's file, or nothing.
  static std::optional<std::string> entryFile(const std::string& id);
};

// "firefox-esr.desktop" for "firefox-esr" (an id given with the suffix stays).
std::string desktopFileId(const std::string& id);
// An application path's entry id: its last component without ".app" or ".desktop".
std::string idOfApplicationPath(const std::string& pathOrName);

// The program's own entry id, and the bundle identifier the core knows it by.
inline constexpr const char* kOwnEntryId = "routelle";
// An entry id as the core's bundle identifier, and back: the program's own entry
// is the program's identifier, every other id stands for itself.
std::string identifierOfEntry(const std::string& id);
std::string entryOfIdentifier(const std::string& identifier);

}  // namespace routelle::linux_desktop
