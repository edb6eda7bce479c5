#pragma once
#include <QIcon>
#include <string>

#include "ui/ImageRef.h"

namespace routelle::linux_desktop {

// The program's images ("StatusBarButtonImage2", "close", "AppIcon") are PNG files
// of its resources folder; an application's icon is its desktop entry's, from the
// icon theme. An image that cannot be found is an empty icon.
void setResourcesFolder(const std::string& folder);
QIcon iconOf(const ImageRef& image);

}  // namespace routelle::linux_desktop
