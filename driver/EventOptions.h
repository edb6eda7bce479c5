#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/DialogAnswer.h"

namespace CLI {
class App;
}

namespace routelle::driver {

// Modifier key names ("shift,option") as the flags the platform reports; a
// usage error names the keys when one is unknown.
std::uint64_t parseModifiers(const std::string& list);

// The options of an event, as given on the command line or on a line of "run".
struct EventWords {
  std::vector<std::string> args;
  std::optional<std::string> modifiers;
  std::optional<std::string> previousApp;
  std::optional<std::string> running;
  std::optional<std::string> front;
  std::optional<std::string> choose;
  std::optional<std::string> openPanel;
  std::optional<std::string> value;
  bool noFocus = false;
  std::vector<std::string> dialogs;
  // The parser they were read with: words it did not take are arguments that
  // start with "-" ("open -x//example.com/") or unknown options.
  const CLI::App* parser = nullptr;
};

// What the user does around an event: keys held, the applications running, and
// the answers to what the event shows.
struct EventOptions {
  std::uint64_t modifiers = 0;
  std::optional<std::string> previousApp;
  std::optional<std::vector<std::string>> running;
  std::optional<std::string> front;
  std::optional<std::string> choose;
  std::optional<std::string> openPanel;
  std::optional<double> value;
  bool noFocus = false;
  std::vector<DialogAnswer> dialogs;
};

struct Event {
  std::string kind;  // "open", "click", "advance"...
  std::vector<std::string> args;
  EventOptions options;
};

// How the help names an event's arguments; none for an event that takes none.
struct EventArguments {
  std::string name = "ARGS";
  std::string description = "The event's arguments";
};

// The event options and the event's arguments, defined once for the verbs that
// deliver an event and for the lines of "run".
void addEventOptions(CLI::App& app, EventWords& words, const EventArguments& arguments = {});
// The options read (a usage error names what is accepted).
Event makeEvent(std::string kind, const EventWords& words);
// A line of "run" after its first word (the event).
Event parseEventLine(const std::vector<std::string>& words);

}  // namespace routelle::driver
