#include "platform/linux/ModelImages.h"

#include <QFileInfo>

#include "platform/linux/DesktopEntries.h"

namespace routelle::linux_desktop {
namespace {

std::string& resources() {
  static std::string folder;
  return folder;
}

QIcon bundleIcon(const std::string& name) {
  for (const char* suffix : {"@2x.png", ".png"}) {
    const QString file = QString::fromStdString(resources() + "/" + name + suffix);
    if (QFileInfo::exists(file)) return QIcon(file);
  }
  return {};
}

QIcon applicationIcon(const std::string& path) {
  const auto entry = DesktopEntries::byId(idOfApplicationPath(path));
  if (!entry || entry->icon.empty()) return QIcon::fromTheme("application-x-executable");
  const QString icon = QString::fromStdString(entry->icon);
  if (icon.startsWith('/')) return QIcon(icon);
  return QIcon::fromTheme(icon, QIcon::fromTheme("web-browser"));
}

}  // namespace

void setResourcesFolder(const std::string& folder) { resources() = folder; }

QIcon iconOf(const ImageRef& image) {
  switch (image.kind) {
    case ImageRef::Kind::none:
      return {};
    case ImageRef::Kind::bundleImage:
      return bundleIcon(image.name);
    case ImageRef::Kind::fileIcon:
      return applicationIcon(image.name);
  }
  return {};
}

}  // namespace routelle::linux_desktop
