#include "ui/Actions.h"

#include <iterator>
#include <utility>

namespace routelle {
namespace {

constexpr std::pair<Action, std::string_view> kSelectors[] = {
    {Action::openx, "openx:"},
    {Action::xNada, "xNada"},
    {Action::nada, "nada"},
    {Action::searchs, "searchs"},
    {Action::toClip, "toClip"},
    {Action::autoPaste, "autoPaste"},
    {Action::autoDelete, "autoDelete"},
    {Action::openy, "openy:"},
    {Action::linkUrl, "linkUrl:"},
    {Action::exit, "exit"},
    {Action::printQuote1, "printQuote1:"},
    {Action::reset, "reset"},
    {Action::openBack, "openBack"},
    {Action::only, "only"},
    {Action::hideAllOnly, "hideAllOnly"},
    {Action::onlyx, "onlyx"},
    {Action::showEdit, "showEdit"},
    {Action::changeHexit, "changeHexit"},
    {Action::changesUrl, "changesUrl"},
    {Action::changeIcon, "changeIcon"},
    {Action::slideMove, "slideMove:"},
    {Action::expActive, "expActive"},
    {Action::expiActive, "expiActive"},
    {Action::changePriority, "changePriority:"},
    {Action::changeBehavior, "changeBehavior"},
    {Action::openBrowserExtensionsPageWithSender, "openBrowserExtensionsPageWithSender:"},
    {Action::hideBrowsersWithSender, "hideBrowsersWithSender:"},
    {Action::setBrowserDefault, "setBrowserDefault"},
    {Action::setMailDefault, "setMailDefault"},
    {Action::checkNow, "checkNow"},
    {Action::checkWeek, "checkWeek"},
    {Action::dialogOKCancel2, "dialogOKCancel2"},
    {Action::cancelBt, "cancelBt"},
    {Action::saveBte, "saveBte"},
    {Action::saveBte2, "saveBte2"},
    {Action::readme, "readme"},
    {Action::maisApps, "maisApps"},
    {Action::openNew, "openNew"},
    {Action::addDomains, "addDomains"},
    {Action::deletar, "deletar:"},
    {Action::addPerApp, "addPerApp"},
    {Action::newAppToPerApp, "newAppToPerApp"},
    {Action::deletarPerApp, "deletarPerApp:"},
    {Action::adModKey, "adModKey:"},
    {Action::addRuleToSuffixOnion, "addRuleToSuffixOnion:"},
    {Action::deletex, "deletex:"},
    {Action::saveExport, "saveExport"},
    {Action::importList, "importList"},
};

// Every action has its selector: the table is in the enum's order.
constexpr bool tableFollowsEnum() {
  for (std::size_t i = 0; i < std::size(kSelectors); ++i)
    if (static_cast<std::size_t>(kSelectors[i].first) != i) return false;
  return static_cast<std::size_t>(Action::importList) + 1 == std::size(kSelectors);
}
static_assert(tableFollowsEnum(), "one selector per action, in the order of the enum");

}  // namespace

std::string_view selectorOf(Action action) { return kSelectors[static_cast<std::size_t>(action)].second; }

std::string selector(Action action) { return std::string(selectorOf(action)); }

std::optional<Action> actionForSelector(std::string_view text) {
  for (const auto& [action, name] : kSelectors)
    if (name == text) return action;
  return std::nullopt;
}

}  // namespace routelle
