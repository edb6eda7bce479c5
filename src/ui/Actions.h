#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace routelle {

struct MenuItem;

// Every action a menu entry or a control can send, known to the platform by its
// selector text. The delegate dispatches them with a switch, so an action added
// here and handled nowhere fails the build (-Wswitch under -Werror).
enum class Action {
  // Chooser and open-with menu
  openx,
  xNada,
  nada,
  // Selection panel
  searchs,
  toClip,
  autoPaste,
  autoDelete,
  // Status menu
  openy,
  linkUrl,
  exit,
  printQuote1,
  reset,
  // Preference toggles
  openBack,
  only,
  hideAllOnly,
  onlyx,
  showEdit,
  changeHexit,
  changesUrl,
  changeIcon,
  slideMove,
  expActive,
  expiActive,
  changePriority,
  changeBehavior,
  openBrowserExtensionsPageWithSender,
  hideBrowsersWithSender,
  // Registration, updates, About, the maker's pages, added browsers
  setBrowserDefault,
  setMailDefault,
  checkNow,
  checkWeek,
  dialogOKCancel2,
  cancelBt,
  saveBte,
  saveBte2,
  readme,
  maisApps,
  openNew,
  // Rule editors
  addDomains,
  deletar,
  addPerApp,
  newAppToPerApp,
  deletarPerApp,
  adModKey,
  addRuleToSuffixOnion,
  deletex,
  // Rule exchange
  saveExport,
  importList,
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
