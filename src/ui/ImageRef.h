#pragma once
#include <string>

#include "ui/Geometry.h"

namespace routelle {

// The side of the application icons in the open-with menu and the rule submenus ("lado").
inline constexpr double kListIconSide = 20.0;

// An image by reference: never loaded by the core.
struct ImageRef {
  enum class Kind { none, bundleImage, fileIcon };
  Kind kind = Kind::none;
  std::string name;  // bundle image name, or the path whose icon it is
  Size size;         // drawn size; zero for the image's natural size

  static ImageRef bundle(std::string name, Size size = {}) { return {Kind::bundleImage, std::move(name), size}; }
  static ImageRef iconOf(std::string path, Size size = {}) { return {Kind::fileIcon, std::move(path), size}; }
  bool empty() const { return kind == Kind::none; }
};

}  // namespace routelle
