#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/View.h"

namespace routelle {

struct AlertModel {
  std::string messageText;
  std::string informativeText;
  std::string style;  // "warning", "informational" or "critical"
  std::vector<std::string> buttons;
  std::optional<View> accessory;
  // Told of each change the user makes in the accessory while the alert runs (a
  // character typed or pasted, an entry picked, a checkbox set), the model
  // already holding it; whatever it changes in the model is then shown. Empty:
  // the alert only reads the accessory once it ends.
  std::function<void(AlertModel&)> fieldChanged = {};
};

struct OpenPanelModel {
  bool allowsMultipleSelection = false;
  bool canChooseDirectories = false;
  bool canCreateDirectories = false;
  bool canChooseFiles = true;
  std::vector<std::string> allowedFileTypes;
  std::string directory;
  std::string prompt;  // the confirming button's title; empty: the platform's own

  // One application, from the Applications folder.
  static OpenPanelModel forAnApplication() {
    OpenPanelModel panel;
    panel.allowedFileTypes = {"app"};
    panel.directory = "/Applications/";
    return panel;
  }
};

// The status item in the menu bar.
struct StatusItemModel {
  ImageRef image;
  std::string title;
  std::string action;
};

}  // namespace routelle
