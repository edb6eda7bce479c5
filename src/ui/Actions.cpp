#include "ui/Actions.h"

#include <iterator>
#include <utility>

namespace routelle {
namespace {

constexpr std::pair<Action, std::string_view> kSelectors[] = {
#define ROUTELLE_ACTION_SELECTOR(name, selector) {Action::name, selector},
    ROUTELLE_ACTIONS(ROUTELLE_ACTION_SELECTOR)
#undef ROUTELLE_ACTION_SELECTOR
};

}  // namespace

std::string_view selectorOf(Action action) { return kSelectors[static_cast<std::size_t>(action)].second; }

std::string selector(Action action) { return std::string(selectorOf(action)); }

std::optional<Action> actionForSelector(std::string_view text) {
  for (const auto& [action, name] : kSelectors)
    if (name == text) return action;
  return std::nullopt;
}

}  // namespace routelle
