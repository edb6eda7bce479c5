#pragma once
#include <string>

namespace routelle::desktop {

// The desktop entry this program installs: `routelle.desktop`, started with the
// link (%u), for http, https, mailto and text/html.
std::string desktopEntryText(const std::string& executable);

// Writes the entry (and the icon) under $XDG_DATA_HOME and updates the desktop
// database; false with a message on standard error when it could not.
bool installDesktopEntry(const std::string& executable, const std::string& resourcesFolder);

}  // namespace routelle::desktop
