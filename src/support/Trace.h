#pragma once
#include <string_view>

#include "support/LineSink.h"

namespace routelle {

// The program's diagnostic lines (the tab watcher writes from its own thread).
class Trace final : public LineSink {};

// The diagnostic texts, as the program has always written them.
namespace trace {
inline constexpr std::string_view getUrlEvent = "open";
inline constexpr std::string_view noValidUrl = "No valid URL to handle";
inline constexpr std::string_view mailLink = "MAILTO";
inline constexpr std::string_view openWithMenu = "1";  // a mail link or a file is offered to its applications
inline constexpr std::string_view webPageFile = "2";   // an opened file goes by the default choice
inline constexpr std::string_view yes = "true";
inline constexpr std::string_view no = "false";
// The program has always written "login==nil" on these three occasions.
inline constexpr std::string_view defaultChoiceMissing =
    "login==nil";                                                     // "login" absent: the chooser becomes the default
inline constexpr std::string_view defaultChoiceSet = "login==nil";    // the user picked a default from the menu
inline constexpr std::string_view menuBarOnlyMissing = "login==nil";  // "hide" absent at start-up
inline constexpr std::string_view servicePieces = "quantos: ";
inline constexpr std::string_view noModifierRule = "none";
inline constexpr std::string_view unknownPriority = "default";
inline constexpr std::string_view rulesExhausted = "22222";  // both rule kinds tried: the default choice
inline constexpr std::string_view defaultChoice = "go now";
inline constexpr std::string_view foreground = "not background";
inline constexpr std::string_view invalidUrl = "invalid url";
inline constexpr std::string_view urlOpened = "url successfully opened";
inline constexpr std::string_view newWindowScriptRan = "success";
inline constexpr std::string_view shortcutPressed = "PRESSED";
inline constexpr std::string_view floatingWindowShown = "pop1";
inline constexpr std::string_view plainSelection = "2";               // selected text without a link
inline constexpr std::string_view selectedLinkFound = "url found: ";  // then a blank and the link
inline constexpr std::string_view selectionPanelShown = "pop";
inline constexpr std::string_view selectionPanelClosed = "fechou";
inline constexpr std::string_view reopened = "reopen";
inline constexpr std::string_view statusMenuPopUp = "pop service";
inline constexpr std::string_view applicationsListQueued = "This is run on the background queue";
inline constexpr std::string_view unexpectedPriority = "0";
inline constexpr std::string_view noUpdateFound = "updaterDidNotFindUpdate";
inline constexpr std::string_view updateFound = "didFindValidUpdate";
inline constexpr std::string_view appcastLoaded = "didFinishLoadingAppcast";
}  // namespace trace

}  // namespace routelle
