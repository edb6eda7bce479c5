#include "platform/host/DialogAnswer.h"

#include "support/Text.h"

namespace routelle {

std::optional<DialogAnswer> parseDialogAnswer(std::string_view given, std::string& problem) {
  DialogAnswer answer;
  answer.given = std::string(given);
  for (const auto& item : text::split(given, ";")) {
    if (answer.button) {
      problem = "\"" + *answer.button + "\" ends the dialog: nothing may follow it in \"" + answer.given + "\"";
      return std::nullopt;
    }
    const auto equals = item.find('=');
    if (equals == std::string::npos) {
      if (item.empty()) {
        problem = "an empty item in \"" + answer.given + "\"";
        return std::nullopt;
      }
      answer.button = item;
      continue;
    }
    const std::string name = item.substr(0, equals);
    std::string value = item.substr(equals + 1);
    DialogAnswer::Control control;
    if (name == "input" || name == "type") {
      control = DialogAnswer::Control::text;
    } else if (name == "browser") {
      control = DialogAnswer::Control::browsers;
    } else if (name == "app") {
      control = DialogAnswer::Control::applications;
    } else if (name == "keys") {
      control = DialogAnswer::Control::modifiers;
    } else if (name == "background") {
      control = DialogAnswer::Control::checkbox;
      if (value != "on" && value != "off") {
        problem = "background is on or off, not \"" + value + "\"";
        return std::nullopt;
      }
    } else {
      problem = "unknown dialog item \"" + name + "\" (input, type, browser, app, keys, background)";
      return std::nullopt;
    }
    answer.steps.push_back({control, std::move(value), name == "type"});
  }
  return answer;
}

}  // namespace routelle
