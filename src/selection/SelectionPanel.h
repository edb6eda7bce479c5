#pragma once
#include <string>
#include <string_view>

#include "platform/Events.h"
#include "platform/Pasteboard.h"
#include "platform/Presenter.h"
#include "platform/RunLoop.h"
#include "platform/ScriptRunner.h"
#include "platform/Workspace.h"
#include "routing/BrowserChooser.h"
#include "routing/LinkRequest.h"
#include "selection/FloatingWindow.h"
#include "support/Trace.h"
#include "ui/Menu.h"

namespace routelle {

// The Search / Copy / Paste / Delete strip shown at the pointer for selected text
// without a link, in the shared floating window.
class SelectionPanel {
 public:
  // The services and components it acts through.
  struct Dependencies {
    FloatingWindow& window;
    Presenter& presenter;
    Events& events;
    Workspace& workspace;
    Pasteboard& pasteboard;
    ScriptRunner& scripts;
    RunLoop& runLoop;
    LinkRequest& request;
    BrowserChooser& chooser;
    const Menu& selectionMenu;
    const Trace& trace;
  };
  explicit SelectionPanel(const Dependencies& deps);

  // The selected text the panel acts on ("lastLink"): what Copy writes.
  void setSelectedText(std::string text) { selectedText_ = std::move(text); }
  const std::string& selectedText() const { return selectedText_; }

  // "showSelectionPanel"
  void showSelectionPanel();
  // "searchs": a web search for the selected text, offered to the browsers list.
  void search();
  // "toClip": the selected text onto the pasteboard.
  void copy();
  // "autoPaste" and "autoDelete": the source application gets the focus back, then,
  // half a second later, Command-V or the delete key.
  void paste();
  void erase();

 private:
  void closePanelAndRestoreFocus();
  // "runSystemEventsScript", after the delay that lets the focus arrive.
  void runSystemEventsScriptLater(std::string_view source);

  FloatingWindow& window_;
  Presenter& presenter_;
  Events& events_;
  Workspace& workspace_;
  Pasteboard& pasteboard_;
  ScriptRunner& scripts_;
  RunLoop& runLoop_;
  LinkRequest& request_;
  BrowserChooser& chooser_;
  const Menu& selectionMenu_;
  const Trace& trace_;
  std::string selectedText_;  // "lastLink"
};

}  // namespace routelle
