#include "platform/host/HostScriptRunner.h"

#include <optional>
#include <string_view>
#include <vector>

#include "support/Text.h"

namespace routelle {
namespace {

// Reads AppleScript source a token at a time.
class Reader {
 public:
  explicit Reader(std::string_view line) : rest_(line) {}

  // The words, each followed by at least one blank unless the line ends.
  bool words(std::string_view expected) {
    for (const auto& word : text::split(expected, " ")) {
      skipBlanks();
      if (!rest_.starts_with(word)) return false;
      rest_.remove_prefix(word.size());
      if (!rest_.empty() && rest_.front() != ' ' && rest_.front() != '\t' && rest_.front() != '"') return false;
    }
    return true;
  }
  // A string literal: a backslash takes the next character as it is.
  std::optional<std::string> string() {
    skipBlanks();
    if (!rest_.starts_with('"')) return std::nullopt;
    std::string out;
    for (size_t i = 1; i < rest_.size(); ++i) {
      const char c = rest_[i];
      if (c == '"') {
        rest_.remove_prefix(i + 1);
        return out;
      }
      if (c == '\\' && i + 1 < rest_.size()) {
        const char next = rest_[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
      } else {
        out += c;
      }
    }
    return std::nullopt;  // unterminated
  }
  bool atEnd() {
    skipBlanks();
    return rest_.empty();
  }

 private:
  void skipBlanks() {
    while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) rest_.remove_prefix(1);
  }
  std::string_view rest_;
};

struct Statement {
  std::string_view request;
  bool allTabs;
};

constexpr Statement kTabRequests[] = {
    {"to return URL of front document as string", false},
    {"to return URL of active tab of front window", false},
    {"to return URL of every tab of window 1 as string", true},
    {"to return URL of tabs of front window as string", true},
};

ScriptOutcome notUnderstood(Transcript& transcript, const std::string& source) {
  transcript.add("AppleScript error: cannot run \"" + source + "\"");
  return {false, "", "The script could not be understood."};
}

}  // namespace

ScriptOutcome HostScriptRunner::run(const std::string& source) {
  const auto lines = text::split(source, "\n");
  // The close script: four lines.
  if (lines.size() == 4) {
    Reader set(lines[0]);
    Reader tell(lines[1]);
    if (set.words("set closeTab to")) {
      auto url = set.string();
      auto browser = tell.words("tell application") ? tell.string() : std::nullopt;
      if (url && set.words("as string") && set.atEnd() && browser && tell.atEnd() &&
          lines[2] == "close (every tab of window 1 whose URL is equal to closeTab)" && lines[3] == "end tell")
        return closeTabs(*browser, *url);
      return notUnderstood(transcript_, source);
    }
  }
  ScriptOutcome outcome{true, "", ""};
  for (const auto& line : lines) {
    Reader reader(line);
    if (reader.atEnd()) continue;
    if (Reader delay(line); delay.words("delay")) continue;
    if (!reader.words("tell application")) return notUnderstood(transcript_, source);
    auto target = reader.string();
    if (!target) return notUnderstood(transcript_, source);
    if (*target == "System Events") {
      std::optional<std::string> key;
      if (reader.words("to keystroke")) key = reader.string();
      const bool command = key && reader.words("using {command down}") && reader.atEnd();
      if (!command || key->size() != 1) return notUnderstood(transcript_, source);
      transcript_.add("System Events: keystroke \"" + *key + "\" using command");
      continue;
    }
    const Statement* matched = nullptr;
    for (const auto& statement : kTabRequests) {
      Reader request = reader;
      if (request.words(statement.request) && request.atEnd()) matched = &statement;
    }
    if (!matched) return notUnderstood(transcript_, source);
    outcome = tellBrowser(*target, matched->allTabs);
    if (!outcome.ok) return outcome;
  }
  return outcome;
}

ScriptOutcome HostScriptRunner::tellBrowser(const std::string& browser, bool allTabs) {
  if (!workspace_.fullPathForApplication(browser)) return {false, "", "Can't get application \"" + browser + "\"."};
  auto window = tabs_.window(browser);
  if (!window) return {false, "", "Can't get window 1 of application \"" + browser + "\"."};
  if (!allTabs) return {true, window->tabs[window->active], ""};
  std::string all;
  for (const auto& tab : window->tabs) all += tab;
  return {true, all, ""};
}

ScriptOutcome HostScriptRunner::closeTabs(const std::string& browser, const std::string& url) {
  if (!workspace_.fullPathForApplication(browser)) return {false, "", "Can't get application \"" + browser + "\"."};
  if (!tabs_.window(browser)) return {false, "", "Can't get window 1 of application \"" + browser + "\"."};
  const std::size_t closed = tabs_.closeTabs(browser, url);
  transcript_.add(browser + ": closed " + std::to_string(closed) + " tab(s) " + url);
  return {true, "", ""};
}

}  // namespace routelle
