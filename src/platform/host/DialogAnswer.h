#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace routelle {

// How the user answers one dialog with an accessory view: what they do in it,
// in order, then the button they press ("OK", "Cancel"); no button when what
// they do ends the dialog by itself.
struct DialogAnswer {
  enum class Control { text, browsers, applications, checkbox, modifiers };
  struct Step {
    Control control;
    std::string value;     // the text typed, the entry's title, or "on" / "off"
    bool appends = false;  // text: typed after what the field holds ("type="), not over it ("input=")
  };
  std::vector<Step> steps;
  std::optional<std::string> button;
  std::string given;  // the answer as written
};

// "input=TEXT;type=TEXT;browser=TITLE;app=TITLE;keys=TITLE;background=on|off;OK": items
// separated by ";", a button title last. Nothing, with the problem, when malformed.
std::optional<DialogAnswer> parseDialogAnswer(std::string_view given, std::string& problem);

}  // namespace routelle
