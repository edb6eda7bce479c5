#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Workspace.h"

namespace routelle {

// The name a running application goes by among browsers: its bundle's file name
// without ".app" ("Opera Developer" for the developer build, whose bundle is Opera.app).
std::string runningBrowserName(const std::string& bundlePath, const std::string& bundleIdentifier);

// Whether the text names the running application as a browser does: exactly, or
// as the platform capitalises its words.
bool namesRunningBrowser(const std::string& browser, const std::string& name);

// Whether two browser texts name one browser as the launcher resolves them: a
// full path by its bundle's name, with or without ".app", in any letter case
// ("SRWare Iron.app", "srware iron" and "SRWare Iron" are one browser).
bool namesSameBrowser(const std::string& one, const std::string& other);

// The first running application, in the workspace's order, whose name is a known
// browser's ("Use the opened browser").
std::optional<std::string> firstRunningKnownBrowser(Workspace& workspace);
// The same among the given applications, in their order.
std::optional<std::string> firstRunningKnownBrowser(const std::vector<RunningApplication>& running);

}  // namespace routelle
