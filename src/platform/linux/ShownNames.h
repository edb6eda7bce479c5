#pragma once
#include <string>

#include "ui/ImageRef.h"

namespace routelle::linux_desktop {

// The core names an application by its entry's id ("firefox-esr"), which is what
// rules store and what stays the same across renames and languages; a person
// reads the entry's Name= ("Firefox ESR"). Menus and pop-ups draw an entry's
// application with its icon, so the icon's path says which entry a title names.

// `title` with `id` replaced by `name` where the id stands as a word of its own
// at the title's start (after a check mark or blanks, as hidden-browser entries
// have them): the whole title, or before a profile's name. Otherwise unchanged.
std::string titleWithName(const std::string& title, const std::string& id, const std::string& name);

// The title as a person reads it, when `image` is the icon of an installed
// entry's application; the title itself otherwise.
std::string shownTitle(const std::string& title, const ImageRef& image);
// The same for a title that names an application by id without its icon (the
// hidden-browser entries).
std::string shownApplicationTitle(const std::string& title);

}  // namespace routelle::linux_desktop
