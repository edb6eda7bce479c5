#pragma once
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/ImageRef.h"

namespace routelle {

// A clickable part of a text field's text: the first occurrence of `text`.
struct TextLink {
  std::string text;
  std::string url;
  bool operator==(const TextLink&) const = default;
};

// An entry of a pop-up button.
struct PopUpEntry {
  std::string title;
  ImageRef image;
  std::string action;  // sent when the user picks the entry; empty for none
};

// A view of a window or of a menu entry, as data for the presenter to draw.
struct View {
  enum class Kind { container, textField, button, imageView, slider, popUpButton };
  // A checkbox is the platform's switch button.
  enum class ButtonType { momentaryPushIn, checkbox };
  Kind kind = Kind::container;
  std::string identifier;  // names the view to automation ("browsers")
  Rect frame;
  std::string text;           // text field contents, button title
  std::string action;         // selector the control sends
  std::string keyEquivalent;  // for buttons: also the carrier of a choice
  ImageRef image;
  bool editable = false;
  bool selectable = false;
  bool allowsEditingTextAttributes = false;  // needed for links to be clickable
  std::vector<TextLink> links;               // text fields
  std::string placeholder;                   // text fields: shown while empty
  bool bordered = true;
  bool drawsBackground = true;
  int maximumNumberOfLines = 0;
  std::string fontName;  // empty: the system font
  double fontSize = 0;
  double cornerRadius = 0;
  int bezelStyle = 0;                            // buttons: the platform's bezel style number
  std::string alignment;                         // "center" or empty
  std::string textColor;                         // "white" or empty
  double minValue = 0, maxValue = 0, value = 0;  // sliders
  int numberOfTickMarks = 0;                     // sliders: 0 for none
  bool allowsTickMarkValuesOnly = false;
  double altIncrementValue = 0;
  ButtonType buttonType = ButtonType::momentaryPushIn;
  bool checked = false;             // checkboxes: the on state
  std::vector<PopUpEntry> entries;  // pop-up buttons
  int selectedIndex = -1;           // pop-up buttons: the selected entry, -1 for none
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
