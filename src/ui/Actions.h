#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace routelle {

struct MenuItem;

// Every action a menu entry or a control can send: its name in the program,
// the selector text the platform knows it by, and what it does. This one list
// makes both the enum and the selector table, so they cannot disagree. The
// delegate dispatches with a switch, so an action added here and handled
// nowhere fails the build (-Wswitch, an error in the test command).
#define ROUTELLE_ACTIONS(X)                                                                                        \
  /* Chooser and open-with menu */                                                                                 \
  X(openWithChosenBrowser, "openx:") /* a chooser or open-with entry: open the current link with it */             \
  X(closeChooser, "xNada")           /* the chooser's Close entry */                                               \
  X(doNothing, "nada")               /* entries that only dismiss their menu */                                    \
  /* Selection panel */                                                                                            \
  X(searchSelection, "searchs")    /* search the web for the selected text */                                      \
  X(copySelection, "toClip")       /* copy the selected text */                                                    \
  X(pasteSelection, "autoPaste")   /* paste in the application in front */                                         \
  X(deleteSelection, "autoDelete") /* delete the selected text */                                                  \
  /* Status menu */                                                                                                \
  X(setDefaultBrowser, "openy:") /* an entry of "Temporally open with:": the default choice */                     \
  X(openCapturedTab, "linkUrl:") /* offer the captured front tab to the chooser */                                 \
  X(quit, "exit")                /* quit the program */                                                            \
  X(refreshMenu, "printQuote1:") /* rebuild the status menu */                                                     \
  X(labelOnly, "reset")          /* entries that are labels */                                                     \
  /* Preference toggles */                                                                                         \
  X(toggleOpenInBackground, "openBack")                                /* "Open in background" */                  \
  X(toggleMenuBarOnly, "only")                                         /* "Menu Bar Only" */                       \
  X(toggleHideMenuBar, "hideAllOnly")                                  /* "Hide Menu Bar" */                       \
  X(toggleImagesOnly, "onlyx")                                         /* "Show only browser images" */            \
  X(toggleMultipleFileTypes, "showEdit")                               /* "Support multiple file types" */         \
  X(toggleShowClose, "changeHexit")                                    /* Close in the chooser or not */           \
  X(toggleShowUrl, "changesUrl")                                       /* the link in the chooser or not */        \
  X(toggleColoredIcon, "changeIcon")                                   /* "Use colored icon" */                    \
  X(setIconSize, "slideMove:")                                         /* the icon-size slider */                  \
  X(toggleSelectionAssistant, "expActive")                             /* "Show List on text selection" */         \
  X(toggleTabWatcher, "expiActive")                                    /* "Manipulate links inside browsers" */    \
  X(togglePriority, "changePriority:")                                 /* domain or per-application rules first */ \
  X(toggleShareBehavior, "changeBehavior")                             /* what the Share extension does */         \
  X(toggleCleanLinks, "changeCleanLinks")                              /* "Clean Links" */                         \
  X(addCleaningEntry, "addCleaningEntry:")                             /* "Add to Clean Links..." */               \
  X(openBrowserExtensionsPage, "openBrowserExtensionsPageWithSender:") /* a browser extension's page */            \
  X(toggleHiddenBrowser, "hideBrowsersWithSender:")                    /* hide or show one browser */              \
  /* Registration, updates, About, the maker's pages, added browsers */                                            \
  X(makeDefaultBrowser, "setBrowserDefault") /* become the default web browser */                                  \
  X(toggleMailDefault, "setMailDefault")     /* handle mailto: links or not */                                     \
  X(checkForUpdates, "checkNow")             /* check for updates now */                                           \
  X(toggleAutomaticChecks, "checkWeek")      /* automatic update checks */                                         \
  X(showAbout, "dialogOKCancel2")            /* show the About window */                                           \
  X(testLink, "testLink:")                   /* the "Test a Link..." window */                                     \
  X(closeAbout, "cancelBt")                  /* close the About window */                                          \
  X(openSupportPage, "saveBte")              /* the maker's support page */                                        \
  X(openAcknowledgements, "saveBte2")        /* the acknowledgements document */                                   \
  X(openInstructions, "readme")              /* the instructions page */                                           \
  X(openMakerSite, "maisApps")               /* the maker's other applications */                                  \
  X(addBrowser, "openNew")                   /* add a browser through the open panel */                            \
  /* Rule editors */                                                                                               \
  X(addDomainRule, "addDomains")           /* the domain rule dialog */                                            \
  X(removeDomainRule, "deletar:")          /* delete one domain rule */                                            \
  X(addAppRule, "addPerApp")               /* the per-application rule dialog */                                   \
  X(chooseAnotherApp, "newAppToPerApp")    /* "Choose another app" in that dialog */                               \
  X(removeAppRule, "deletarPerApp:")       /* delete one per-application rule */                                   \
  X(editModifierKey, "adModKey:")          /* the modifier-key rule dialog */                                      \
  X(setOnionRule, "addRuleToSuffixOnion:") /* the onion rule's browser */                                          \
  X(removeAddedBrowser, "deletex:")        /* remove an added browser */                                           \
  /* Rule exchange */                                                                                              \
  X(exportRules, "saveExport") /* export the rules to a file */                                                    \
  X(importRules, "importList") /* import rules from a file */

enum class Action {
#define ROUTELLE_ACTION_NAME(name, selector) name,
  ROUTELLE_ACTIONS(ROUTELLE_ACTION_NAME)
#undef ROUTELLE_ACTION_NAME
};

// The selector text of an action, exactly as the platform knows it ("openx:").
std::string_view selectorOf(Action action);
std::string selector(Action action);
// Nothing for a text that names no action of the program.
std::optional<Action> actionForSelector(std::string_view selector);

// What menus and windows send their actions to.
class ActionTarget {
 public:
  virtual ~ActionTarget() = default;
  // Performs the action named by the selector text; false when nothing handles it.
  virtual bool perform(const std::string& selector, const MenuItem& sender) = 0;
};

}  // namespace routelle
