#include "platform/linux/ShownNames.h"

#include <cctype>
#include <string_view>

#include "platform/linux/DesktopEntries.h"

namespace routelle::linux_desktop {
namespace {

constexpr std::string_view kCheckMark = "✓";

bool partOfId(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.'; }

// Where the id would begin: past a leading check mark and blanks.
std::size_t startOfName(const std::string& title) {
  std::size_t at = 0;
  if (std::string_view(title).starts_with(kCheckMark)) at = kCheckMark.size();
  while (at < title.size() && title[at] == ' ') ++at;
  return at;
}

}  // namespace

std::string titleWithName(const std::string& title, const std::string& id, const std::string& name) {
  if (id.empty() || name.empty()) return title;
  const std::size_t at = startOfName(title);
  if (title.compare(at, id.size(), id) != 0) return title;
  const std::size_t end = at + id.size();
  if (end < title.size() && partOfId(title[end])) return title;
  return title.substr(0, at) + name + title.substr(end);
}

std::string shownTitle(const std::string& title, const ImageRef& image) {
  if (image.kind != ImageRef::Kind::fileIcon) return title;
  const std::string id = idOfApplicationPath(image.name);
  // Most titles are not an application's (a rule's domain, a file): no entry is
  // read for those.
  if (titleWithName(title, id, "?") == title) return title;
  const auto entry = DesktopEntries::byId(id);
  if (!entry || entry->path != image.name) return title;
  return titleWithName(title, id, entry->name);
}

std::string shownApplicationTitle(const std::string& title) {
  const std::string id = title.substr(startOfName(title));
  const auto entry = DesktopEntries::byId(id);
  return entry ? titleWithName(title, id, entry->name) : title;
}

}  // namespace routelle::linux_desktop
