#include "editors/ApplicationList.h"

#include <algorithm>

#include "settings/BrowserRegistry.h"
#include "support/Text.h"
#include "ui/ImageRef.h"

namespace routelle {

PopUpEntry applicationEntry(std::string name, Workspace& workspace) {
  PopUpEntry entry{std::move(name), {}, {}};
  if (auto path = workspace.fullPathForApplication(entry.title))
    entry.image = ImageRef::iconOf(*path, {kListIconSide, kListIconSide});
  return entry;
}

std::vector<PopUpEntry> localApplications(FileManager& files, Workspace& workspace) {
  const auto folder = files.localApplicationsFolder();
  const auto paths = folder ? files.contentsOfDirectory(*folder) : std::nullopt;
  if (!paths) return {};
  std::vector<std::string> names;
  names.reserve(paths->size());
  // Named as the application names itself ("Notes.app Helper" keeps its inner ".app").
  for (const auto& path : *paths) names.push_back(BrowserRegistry::displayNameOfBundle(text::lastPathComponent(path)));
  std::sort(names.begin(), names.end());
  std::vector<PopUpEntry> entries;
  entries.reserve(names.size());
  for (auto& name : names) entries.push_back(applicationEntry(std::move(name), workspace));
  return entries;
}

}  // namespace routelle
