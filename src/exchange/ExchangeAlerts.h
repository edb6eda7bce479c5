#pragma once
#include <cstddef>
#include <string>

#include "exchange/RuleImporter.h"
#include "ui/Dialogs.h"

namespace routelle {

// The alert for an import that did not read its file to the end: refused whole,
// or broken off after some rules were stored.
AlertModel importNotCompletedAlert(const std::string& path, const ImportReport& report);

// The alert for an export refused because the file would be larger than an import reads.
AlertModel exportTooLargeAlert(std::size_t bytes);

}  // namespace routelle
