#pragma once
#include <string>
#include <vector>

#include "platform/Workspace.h"

namespace routelle {

// The identifiers of the browsers the lists offer before the added ones: the known
// table's in its order, then those the system lists as web browsers that the table
// does not hold (the program itself never).
std::vector<std::string> knownBrowserIdentifiers(Workspace& workspace);

}  // namespace routelle
