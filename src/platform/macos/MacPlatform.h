#pragma once
// The platform's own services behind the ports. No Objective-C types here
// (the presenter, which draws with the application's objects, is in MacPresenter.h).
#include <memory>
#include <string>

#include "platform/Accessibility.h"
#include "platform/AppleEvents.h"
#include "platform/Application.h"
#include "platform/Calendar.h"
#include "platform/Defaults.h"
#include "platform/Events.h"
#include "platform/FileManager.h"
#include "platform/LaunchServices.h"
#include "platform/LinkDetector.h"
#include "platform/ListArchiver.h"
#include "platform/Pasteboard.h"
#include "platform/ProcessLauncher.h"
#include "platform/RunLoop.h"
#include "platform/ScriptRunner.h"
#include "platform/Shortcuts.h"
#include "platform/SystemInfo.h"
#include "platform/Updater.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "support/TextServices.h"

namespace routelle::macos {

std::unique_ptr<Defaults> makeStandardDefaults();
// Nothing when the suite cannot be opened; suite writes are then skipped.
std::unique_ptr<Defaults> makeSuiteDefaults(const std::string& suiteName);
std::unique_ptr<Defaults> makeGlobalDefaults();
std::unique_ptr<ListArchiver> makeListArchiver();
std::unique_ptr<Workspace> makeWorkspace();
std::unique_ptr<LaunchServices> makeLaunchServices();
std::unique_ptr<UrlParser> makeUrlParser();
std::unique_ptr<Updater> makeUpdater();
std::unique_ptr<ProcessLauncher> makeProcessLauncher();
std::unique_ptr<ScriptRunner> makeScriptRunner();
std::unique_ptr<Events> makeEvents();
std::unique_ptr<Pasteboard> makeGeneralPasteboard();
std::unique_ptr<RunLoop> makeMainRunLoop();
std::unique_ptr<AppleEvents> makeAppleEvents();
std::unique_ptr<Application> makeApplication();
std::unique_ptr<Accessibility> makeAccessibility();
std::unique_ptr<Shortcuts> makeShortcuts();
std::unique_ptr<SystemInfo> makeSystemInfo();
std::unique_ptr<LinkDetector> makeLinkDetector();
std::unique_ptr<FileManager> makeFileManager();
std::unique_ptr<Calendar> makeCalendar();
std::unique_ptr<TextServices> makeTextServices();

}  // namespace routelle::macos
