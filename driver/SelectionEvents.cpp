// Events of a run around the selection assistant: what the user selects, clicks,
// types and presses in other applications and in the program's floating window.
#include <map>

#include "ProgramRun.h"

namespace routelle::driver {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The selected text as written on the line: \n, \t, \\ and \xHH (any byte) are read as escapes.
std::string selectionText(const std::string& written) {
  std::string out;
  for (size_t i = 0; i < written.size(); ++i) {
    const char c = written[i];
    if (c != '\\' || i + 1 >= written.size()) {
      out += c;
      continue;
    }
    const char next = written[++i];
    if (next == 'n')
      out += '\n';
    else if (next == 't')
      out += '\t';
    else if (next == '\\')
      out += '\\';
    else if (next == 'x' && i + 2 < written.size() && hexDigit(written[i + 1]) >= 0 && hexDigit(written[i + 2]) >= 0) {
      out += static_cast<char>(hexDigit(written[i + 1]) * 16 + hexDigit(written[i + 2]));
      i += 2;
    } else {
      throw UsageError("unknown escape \\" + std::string(1, next) + " in \"" + written + "\"");
    }
  }
  return out;
}

}  // namespace

bool ProgramRun::deliverSelectionEvent(const std::string& kind, const std::vector<std::string>& args, bool noFocus) {
  auto& d = app_.delegate;
  auto& presenter = app_.presenter;
  auto perform = [&d](const MenuItem& sender) { d.perform(sender.action, sender); };
  auto oneOf = [&](const std::map<std::string, EventType>& words) {
    if (args.empty() || !words.contains(args[0]))
      throw UsageError(kind + " needs one of " + [&] {
        std::string names;
        for (const auto& [name, type] : words) names += (names.empty() ? "" : "|") + name;
        return names;
      }());
    return words.at(args[0]);
  };

  if (kind == "front") {
    if (args.size() > 1) throw UsageError("front takes one application name (none: no frontmost application)");
    auto& workspace = app_.system.workspace;
    workspace.setFrontmostApplication(args.empty() ? std::nullopt
                                                   : std::optional(workspace.runningApplicationNamed(args[0])));
  } else if (kind == "trust") {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) throw UsageError("trust needs on or off");
    app_.accessibility.setTrusted(args[0] == "on");
  } else if (kind == "select") {
    if (args.size() > 1) throw UsageError("select takes one text (quote it)");
    if (noFocus && !args.empty()) throw UsageError("select --no-focus takes no text");
    if (noFocus)
      app_.accessibility.removeFocus();
    else
      app_.accessibility.focusElementSelecting(args.empty() ? std::string() : selectionText(args[0]));
  } else if (kind == "mouse") {
    const EventType type = oneOf({{"down", EventType::leftMouseDown},
                                  {"up", EventType::leftMouseUp},
                                  {"drag", EventType::leftMouseDragged},
                                  {"right", EventType::rightMouseDown}});
    if (args.size() != 1 && args.size() != 3) throw UsageError("mouse " + args[0] + " takes a position X Y or none");
    if (args.size() == 3) app_.events.pointer = {number(args[1]), number(args[2])};
    app_.events.deliver(type);
  } else if (kind == "key") {
    if (args.empty()) {
      app_.events.deliver(EventType::keyDown);
      app_.events.deliver(EventType::keyUp);
    } else {
      if (args.size() != 1) throw UsageError("key takes down, up, flags or nothing");
      app_.events.deliver(
          oneOf({{"down", EventType::keyDown}, {"up", EventType::keyUp}, {"flags", EventType::flagsChanged}}));
    }
  } else if (kind == "press") {
    if (args.size() != 1) throw UsageError("press needs a button's title or key");
    if (auto pressed = presenter.pressWindowButton(args[0]))
      perform(*pressed);
    else
      app_.transcript.add("no button \"" + args[0] + "\" is shown");
  } else if (kind == "choose") {
    if (args.size() != 1) throw UsageError("choose needs a title");
    if (presenter.holdsMenu()) {
      if (auto chosen = presenter.answerHeldMenu(args[0]))
        perform(*chosen);
      else
        app_.transcript.add("no entry \"" + args[0] + "\" in the menu");
    } else if (auto clicked = presenter.pressWindowButton(args[0])) {
      perform(*clicked);
    } else {
      app_.transcript.add("nothing named \"" + args[0] + "\" to choose");
    }
  } else if (kind == "pasteboard") {
    if (!args.empty()) throw UsageError("pasteboard takes no arguments");
    const auto contents = app_.generalPasteboard.string();
    app_.transcript.add(contents ? "pasteboard \"" + *contents + "\"" : std::string("pasteboard empty"));
  } else {
    return false;
  }
  return true;
}

}  // namespace routelle::driver
