#pragma once

namespace routelle {

// What the chooser offers the rest of the program: the browsers list for the
// current link, so that the user picks.
class BrowserChooser {
 public:
  virtual ~BrowserChooser() = default;
  virtual void showBrowsersList() = 0;
  // The pop-up menu form, whatever the window setting says (the new-window shortcut).
  virtual void popUpBrowsersMenu() = 0;
  // The floating window form, whatever the window setting says (a selected link).
  virtual void showFloatingBrowsersWindow() = 0;
  // Rebuilt from the stored browsers, after they or the rules changed.
  virtual void buildBrowsersListMenu() = 0;
};

}  // namespace routelle
