#pragma once
#include <string>
#include <vector>

#include "platform/FileManager.h"
#include "platform/Workspace.h"
#include "ui/View.h"

namespace routelle {

// An application by name, with the icon of the application of that name when
// the workspace finds one.
PopUpEntry applicationEntry(std::string name, Workspace& workspace);

// Every entry of the local Applications folder, folders and other files alike,
// named without their ".app" suffix, in plain text order. None when the folder cannot be listed.
std::vector<PopUpEntry> localApplications(FileManager& files, Workspace& workspace);

}  // namespace routelle
