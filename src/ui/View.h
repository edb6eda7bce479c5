#pragma once
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/ImageRef.h"

namespace routelle {

// A view of a window or of a menu entry, as data for the presenter to draw.
struct View {
  enum class Kind { container, textField, button, imageView, slider };
  Kind kind = Kind::container;
  Rect frame;
  std::string text;           // text field contents, button title
  std::string action;         // selector the control sends
  std::string keyEquivalent;  // for buttons: also the carrier of a choice
  ImageRef image;
  bool editable = false;
  bool bordered = true;
  bool drawsBackground = true;
  int maximumNumberOfLines = 0;
  double fontSize = 0;
  double cornerRadius = 0;
  std::string alignment;  // "center" or empty
  std::string textColor;  // "white" or empty
  double minValue = 0, maxValue = 0, value = 0;  // sliders
  std::vector<View> subviews;
};

// A window as data: its content and how it is styled.
struct WindowModel {
  std::string title;
  Rect frame;
  View content;
  unsigned long styleMask = 0;
  bool opaque = true;
  std::string backgroundColor;
  bool floating = false;
  bool movableByBackground = false;
  bool titlebarTransparent = false;
  bool hideTitle = false;
  bool hideStandardButtons = false;
};

}  // namespace routelle
