// The options of events and the arguments of "tabs", defined once for the verbs
// and for the lines of "run".
#include "EventOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <utility>

#include "Driver.h"
#include "ProgramRun.h"
#include "platform/Events.h"
#include "support/Text.h"

namespace routelle::driver {
namespace {

constexpr std::array<std::pair<std::string_view, std::uint64_t>, 6> kModifierNames{{
    {"shift", modifierFlags::shift},
    {"control", modifierFlags::control},
    {"option", modifierFlags::option},
    {"command", modifierFlags::command},
    {"capslock", modifierFlags::capsLock},
    {"function", modifierFlags::function},
}};

DialogAnswer dialogAnswer(const std::string& given) {
  std::string problem;
  auto answer = parseDialogAnswer(given, problem);
  if (!answer) throw UsageError("--dialog: " + problem);
  return std::move(*answer);
}

}  // namespace

std::uint64_t parseModifiers(const std::string& list) {
  std::uint64_t flags = 0;
  for (const auto& name : text::split(list, ",")) {
    if (name.empty()) continue;
    auto it =
        std::find_if(kModifierNames.begin(), kModifierNames.end(), [&](const auto& m) { return m.first == name; });
    if (it == kModifierNames.end()) {
      std::string accepted;
      for (const auto& m : kModifierNames) accepted += (accepted.empty() ? "" : ", ") + std::string(m.first);
      throw UsageError("--modifiers: unknown modifier \"" + name + "\"; the keys are " + accepted);
    }
    flags |= it->second;
  }
  return flags;
}

void addEventOptions(CLI::App& app, EventWords& words, const EventArguments& arguments) {
  app.add_option("--modifiers", words.modifiers, "Keys held: shift,control,option,command,capslock,function")
      ->type_name("LIST");
  app.add_option("--previous-app", words.previousApp, "The application that was active before")->type_name("NAME");
  app.add_option("--running", words.running, "Running applications by name, in the workspace's order")
      ->type_name("LIST");
  app.add_option("--front", words.front, "The frontmost application")->type_name("NAME");
  app.add_option("--choose", words.choose,
                 "Pick this entry or button when a menu, window or alert shows (\"A > B\" for an entry of a submenu)")
      ->type_name("TITLE");
  app.add_option("--open-panel", words.openPanel, "The path an open panel answers with")->type_name("PATH");
  app.add_option("--value", words.value, "The value of a slider clicked")->type_name("N");
  app.add_flag("--no-focus", words.noFocus, "With select: no element has the focus");
  app.add_option("--dialog", words.dialogs, "The answer to a rule dialog, once per dialog (see click --help)")
      ->type_name("ANSWER");
  // Even an event that takes no arguments collects them, so that the event says what it takes.
  auto* positional = app.add_option(arguments.name.empty() ? "ARGS" : arguments.name, words.args,
                                    arguments.name.empty() ? "None" : arguments.description);
  if (arguments.name.empty()) positional->group("");
  app.allow_extras();
  words.parser = &app;
}

Event makeEvent(std::string kind, const EventWords& words) {
  Event event{std::move(kind), words.args, {}};
  if (words.parser)
    for (const auto& word : words.parser->remaining()) {
      if (!word.starts_with("--")) {
        event.args.push_back(word);
        continue;
      }
      std::string options;
      for (const auto* option : words.parser->get_options([](const CLI::Option* o) { return o->nonpositional(); }))
        if (option->get_name() != "--help") options += (options.empty() ? "" : ", ") + option->get_name();
      throw UsageError(event.kind + ": unknown option \"" + word + "\"; the options are " + options);
    }
  auto& o = event.options;
  if (words.modifiers) o.modifiers = parseModifiers(*words.modifiers);
  o.previousApp = words.previousApp;
  if (words.running) o.running = text::split(*words.running, ",");
  o.front = words.front;
  o.choose = words.choose;
  o.openPanel = words.openPanel;
  if (words.value) o.value = number(*words.value);
  o.noFocus = words.noFocus;
  for (const auto& answer : words.dialogs) o.dialogs.push_back(dialogAnswer(answer));
  return event;
}

Event parseEventLine(const std::vector<std::string>& words) {
  CLI::App line("", words.at(0));
  line.set_help_flag();
  EventWords given;
  addEventOptions(line, given);
  std::vector<std::string> reversed(words.rbegin(), words.rend() - 1);
  try {
    line.parse(reversed);
  } catch (const CLI::ParseError& e) {
    throw UsageError(words[0] + ": " + e.what());
  }
  return makeEvent(words[0], given);
}

// The tabs of a browser, a verb and a line of "run" too.
void addTabsArguments(CLI::App& app, TabsRequest& request) {
  app.add_option("BROWSER", request.browser, "The browser's name")->required();
  app.add_option("URL", request.tabs, "The tabs of window 1, in order (none: print them)");
  app.add_option("--active", request.active, "The active tab, from 1 (default 1)")->type_name("N");
}

TabsRequest parseTabsLine(const std::vector<std::string>& words) {
  CLI::App line("", "tabs");
  line.set_help_flag();
  TabsRequest request;
  addTabsArguments(line, request);
  std::vector<std::string> reversed(words.rbegin(), words.rend() - 1);
  try {
    line.parse(reversed);
  } catch (const CLI::ParseError& e) {
    throw UsageError(std::string("tabs: ") + e.what());
  }
  return request;
}

}  // namespace routelle::driver
