// Dialogs with an accessory view: shown as lines, answered as the user would.
#include "platform/host/HostPresenter.h"
#include "platform/host/MenuDescription.h"
#include "support/Text.h"
#include "ui/Menu.h"

namespace routelle {
namespace {

// A text on one line, its line breaks shown as "\n".
std::string quoted(const std::string& text) { return "\"" + text::replaceAll(text, "\n", "\\n") + "\""; }

std::string frameOf(const View& view) {
  const Rect& f = view.frame;
  return "(" + describeNumber(f.x) + ", " + describeNumber(f.y) + ") " + describeNumber(f.width) + "x" +
         describeNumber(f.height);
}

std::string imageOf(const ImageRef& image) {
  if (image.empty()) return {};
  const Size& size = image.size;
  return " <image " + image.name +
         (size.width != 0 || size.height != 0 ? " " + describeNumber(size.width) + "x" + describeNumber(size.height)
                                              : "") +
         ">";
}

void describeControl(const View& view, Transcript& transcript) {
  const std::string indent = "    ";
  switch (view.kind) {
    case View::Kind::textField:
      transcript.add(indent + "text field " + frameOf(view) + " " + quoted(view.text) +
                     (view.placeholder.empty() ? "" : " placeholder " + quoted(view.placeholder)));
      break;
    case View::Kind::popUpButton:
      transcript.add(indent + "pop-up " + view.identifier + " " + frameOf(view) + ":");
      for (std::size_t i = 0; i < view.entries.size(); ++i) {
        const auto& entry = view.entries[i];
        transcript.add(indent + "  " + entry.title + (entry.action.empty() ? "" : "\t" + entry.action) +
                       imageOf(entry.image) + (static_cast<int>(i) == view.selectedIndex ? " (selected)" : ""));
      }
      break;
    case View::Kind::button:
      if (view.buttonType == View::ButtonType::checkbox)
        transcript.add(indent + "checkbox " + quoted(view.text) + " " + frameOf(view) +
                       (view.checked ? " on" : " off"));
      else
        transcript.add(indent + "button " + quoted(view.text) + " " + frameOf(view));
      break;
    default:
      transcript.add(indent + "view " + frameOf(view));
      break;
  }
}

View* control(AlertModel& alert, DialogAnswer::Control wanted) {
  for (auto& view : alert.accessory->subviews) {
    const bool match = (wanted == DialogAnswer::Control::text && view.kind == View::Kind::textField) ||
                       (wanted == DialogAnswer::Control::checkbox && view.kind == View::Kind::button &&
                        view.buttonType == View::ButtonType::checkbox) ||
                       (wanted == DialogAnswer::Control::browsers && view.kind == View::Kind::popUpButton &&
                        view.identifier == "browsers") ||
                       (wanted == DialogAnswer::Control::applications && view.kind == View::Kind::popUpButton &&
                        view.identifier == "applications") ||
                       (wanted == DialogAnswer::Control::modifiers && view.kind == View::Kind::popUpButton &&
                        view.identifier == "modifiers");
    if (match) return &view;
  }
  return nullptr;
}

// What a text field shows, by its name: on one line, or a block of lines.
void describeShownText(const View& view, Transcript& transcript) {
  const std::string name = view.identifier.empty() ? "text field" : view.identifier;
  if (view.text.find('\n') == std::string::npos) {
    transcript.add("  " + name + " shows " + quoted(view.text));
    return;
  }
  transcript.add("  " + name + " shows:");
  for (const auto& line : text::split(view.text, "\n")) transcript.add("    " + line);
}

const char* controlName(DialogAnswer::Control c) {
  switch (c) {
    case DialogAnswer::Control::text:
      return "text field";
    case DialogAnswer::Control::browsers:
      return "browser pop-up";
    case DialogAnswer::Control::applications:
      return "application pop-up";
    case DialogAnswer::Control::checkbox:
      return "checkbox";
    case DialogAnswer::Control::modifiers:
      return "modifier pop-up";
  }
  return "control";
}

}  // namespace

int HostPresenter::answerDialog(AlertModel& alert) {
  transcript_.add("dialog (" + alert.style + ") " + quoted(alert.messageText));
  if (!alert.informativeText.empty()) transcript_.add("  " + quoted(alert.informativeText));
  transcript_.add("  accessory " + frameOf(*alert.accessory) + ":");
  for (const auto& view : alert.accessory->subviews) describeControl(view, transcript_);
  for (const auto& button : alert.buttons) transcript_.add("  button " + quoted(button));
  if (alert.buttons.empty()) return 0;

  ModalSession session;
  session.buttons = alert.buttons.size();
  sessions_.push_back(&session);
  std::optional<DialogAnswer> answer;
  if (!answerProblem && !dialogAnswers.empty()) {
    answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
  }
  runModalLoop(session);
  if (answer) {
    for (const auto& step : answer->steps) {
      if (answerProblem) break;
      if (session.pressed) {
        refuseAnswer("the dialog " + quoted(alert.messageText) + " had ended before \"" + answer->given +
                     "\" was done");
        break;
      }
      applyStep(alert, step);
      runModalLoop(session);
    }
  }
  if (!session.pressed) {
    std::optional<std::size_t> button;
    if (answer && answer->button && !answerProblem) {
      for (std::size_t i = 0; i < alert.buttons.size(); ++i)
        if (alert.buttons[i] == *answer->button) button = i;
      if (!button)
        refuseAnswer("the dialog " + quoted(alert.messageText) + " has no button " + quoted(*answer->button));
    } else if (answer && !answerProblem) {
      refuseAnswer("the dialog " + quoted(alert.messageText) + " was left open: end \"" + answer->given +
                   "\" with a button");
    }
    // Without an answer the dialog is cancelled with its last button.
    session.pressed = button.value_or(alert.buttons.size() - 1);
  } else if (answer && answer->button && !answerProblem) {
    refuseAnswer("the dialog " + quoted(alert.messageText) + " had ended before " + quoted(*answer->button) +
                 " was pressed");
  }
  sessions_.pop_back();
  transcript_.add("pressed " + quoted(alert.buttons[*session.pressed]));
  if (sessions_.empty())
    for (auto& panel : std::exchange(panelsAfterDialog_, {})) mainQueue_.schedule(0, std::move(panel));
  return static_cast<int>(*session.pressed);
}

void HostPresenter::applyStep(AlertModel& alert, const DialogAnswer::Step& step) {
  View* view = control(alert, step.control);
  if (!view) {
    refuseAnswer("the dialog " + quoted(alert.messageText) + " has no " + controlName(step.control));
    return;
  }
  switch (step.control) {
    case DialogAnswer::Control::text:
      view->text = step.appends ? view->text + step.value : step.value;
      transcript_.add("typed " + quoted(step.value) + (step.appends ? " after what the field held" : ""));
      reportChange(alert);
      return;
    case DialogAnswer::Control::checkbox:
      view->checked = step.value == "on";
      transcript_.add("checkbox " + quoted(view->text) + " " + step.value);
      reportChange(alert);
      return;
    case DialogAnswer::Control::browsers:
    case DialogAnswer::Control::applications:
    case DialogAnswer::Control::modifiers:
      break;
  }
  std::string offered;
  for (std::size_t i = 0; i < view->entries.size(); ++i) {
    const auto& entry = view->entries[i];
    if (entry.title != step.value) {
      offered += (offered.empty() ? "" : ", ") + quoted(entry.title);
      continue;
    }
    view->selectedIndex = static_cast<int>(i);
    transcript_.add("picked " + quoted(entry.title) + " in " + view->identifier);
    if (!entry.action.empty()) {
      MenuItem sender;
      sender.title = entry.title;
      sender.action = entry.action;
      actions_.perform(entry.action, sender);
    }
    reportChange(alert);
    return;
  }
  refuseAnswer("the " + std::string(controlName(step.control)) + " offers no " + quoted(step.value) + "; it offers " +
               (offered.empty() ? std::string("nothing") : offered));
}

void HostPresenter::reportChange(AlertModel& alert) {
  // An action sent by the edit may have ended the dialog, or taken its accessory away.
  if (!alert.fieldChanged || !alert.accessory || sessions_.back()->pressed) return;
  const std::vector<View> before = alert.accessory->subviews;
  alert.fieldChanged(alert);
  if (!alert.accessory) return;
  const auto& after = alert.accessory->subviews;
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i < before.size() && before[i].text == after[i].text) continue;
    if (after[i].kind == View::Kind::textField)
      describeShownText(after[i], transcript_);
    else
      describeControl(after[i], transcript_);
  }
}

void HostPresenter::runModalLoop(const ModalSession& session) {
  while (!session.pressed && mainQueue_.runNextDue()) {
  }
}

void HostPresenter::pressAlertButton(std::size_t index) {
  onMainThread_("Presenter::pressAlertButton");
  if (sessions_.empty()) return;
  ModalSession& session = *sessions_.back();
  if (!session.pressed && index < session.buttons) session.pressed = index;
}

void HostPresenter::refuseAnswer(std::string problem) {
  if (!answerProblem) answerProblem = std::move(problem);
}

}  // namespace routelle
