#pragma once
#include <optional>
#include <string>
#include <vector>

namespace routelle::linux_desktop {

// The platform's open command as the core runs it ("/usr/bin/open -g -a APP -- LINK",
// "/usr/bin/open -n -a APP --args ARG... LINK"), read back into what it asks for,
// so that the desktop can do it.
struct OpenRequest {
  std::optional<std::string> application;  // -a: a path or a name
  std::optional<std::string> identifier;   // -b: a bundle identifier
  bool background = false;                 // -g
  bool newInstance = false;                // -n: the desktop starts the entry's program anew in any case
  std::vector<std::string> items;          // links or files
  std::vector<std::string> arguments;      // after --args: the application's own command line
};

// Nothing when the arguments are not the open command's (an unknown option).
std::optional<OpenRequest> parseOpenArguments(const std::vector<std::string>& args);

// What a desktop entry's field codes stand for, besides the links.
struct EntryFields {
  std::string icon;  // %i, as "--icon ICON" when there is one
  std::string name;  // %c
  std::string file;  // %k
};

// The command line of an entry's Exec line (already split into words) started
// with the given arguments: they take the place of its first %u, %U, %f or %F,
// each its own word, and go at the end when it has none. Inside a Flatpak
// forwarding section ("@@u %U @@") they go before it, since that section is
// only for files and links. "%%" is "%", other field codes are dropped.
std::vector<std::string> expandExec(const std::vector<std::string>& exec, const std::vector<std::string>& arguments,
                                    const EntryFields& fields);

// The command lines that start an entry with links as GIO would, one per link for
// "%u" and one for all of them for "%U"; nothing when the Exec line takes them
// otherwise (as files, or through no field code), which is left to GIO.
std::optional<std::vector<std::vector<std::string>>> linkCommandLines(const std::vector<std::string>& exec,
                                                                      const std::vector<std::string>& links,
                                                                      const EntryFields& fields);

}  // namespace routelle::linux_desktop
