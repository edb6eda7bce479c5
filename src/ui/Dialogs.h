#pragma once
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
