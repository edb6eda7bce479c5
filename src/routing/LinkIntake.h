#pragma once
#include <optional>
#include <string>

#include "platform/Events.h"
#include "platform/LaunchServices.h"
#include "platform/Pasteboard.h"
#include "platform/Presenter.h"
#include "platform/ProcessLauncher.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "routing/BrowserLauncher.h"
#include "routing/LinkRequest.h"
#include "routing/Router.h"
#include "routing/TabCapture.h"
#include "settings/SettingsStore.h"
#include "support/Trace.h"
#include "ui/Actions.h"
#include "ui/Menu.h"

namespace routelle {

// Every entry by which a link reaches the program: the get-URL event, an opened
// file, the Services entry and the status menu's captured tab; and the
// open-with menu for mail links and documents.
class LinkIntake {
 public:
  // The services and components it acts through.
  struct Dependencies {
    SettingsStore& settings;
    const UrlParser& urls;
    LaunchServices& launchServices;
    Workspace& workspace;
    Presenter& presenter;
    Events& events;
    ProcessLauncher& processes;
    LinkRequest& request;
    Router& router;
    BrowserChooser& chooser;
    BrowserLauncher& launcher;
    const TabCapture& tabCapture;
    ActionTarget& actions;
    const Trace& trace;
  };
  explicit LinkIntake(const Dependencies& deps);

  // The get-URL Apple event with its direct parameter, if it has one.
  void handleGetURLEvent(const std::optional<std::string>& directParameter);
  // What the get-URL event would do with the link at that moment, step by step,
  // doing none of it: nothing is launched, shown, stored or traced.
  RoutingDecision explainLink(const std::optional<std::string>& directParameter, const LinkMoment& moment);
  // A document opened with the program ("application:openFile:"); always true.
  bool applicationOpenFile(const std::string& givenPath);
  // The Services entry ("openUrlWithRtl:userData:error:").
  void openUrlWithRtl(Pasteboard& pasteboard);
  // A "mailto:" link: the open-with menu of the applications that handle it.
  void offerMailApplications(const std::string& mail);
  // The status menu's captured-tab entry ("linkUrl:").
  void openCapturedTab();

  // "mview2": the open-with menu as last shown.
  const Menu& openWithMenu() const { return openWithMenu_; }

 private:
  void showOpenWithMenu(const std::string& link, bool isFile);
  // The event's link as the program handles it, into the decision; answers
  // whether it goes on to routing (not when absent or a mail link).
  bool readEventLink(RoutingDecision& decision, const std::optional<std::string>& directParameter) const;

  SettingsStore& settings_;
  const UrlParser& urls_;
  LaunchServices& launchServices_;
  Workspace& workspace_;
  Presenter& presenter_;
  Events& events_;
  ProcessLauncher& processes_;
  LinkRequest& request_;
  Router& router_;
  BrowserChooser& chooser_;
  BrowserLauncher& launcher_;
  const TabCapture& tabCapture_;
  ActionTarget& actions_;
  const Trace& trace_;
  Menu openWithMenu_;
};

}  // namespace routelle
