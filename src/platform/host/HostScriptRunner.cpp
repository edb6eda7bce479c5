#include "platform/host/HostScriptRunner.h"

#include <filesystem>
#include <fstream>
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

std::size_t codePoints(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// keystroke "K" [using command down | using {command down}]: one character for the
// frontmost application; answers what the world shows of it.
std::optional<std::string> keystroke(Reader& reader) {
  if (!reader.words("keystroke")) return std::nullopt;
  auto key = reader.string();
  if (!key || codePoints(*key) != 1) return std::nullopt;
  Reader braces = reader;
  Reader plain = reader;
  const bool command =
      (braces.words("using {command down}") && braces.atEnd()) || (plain.words("using command down") && plain.atEnd());
  if (!command && !reader.atEnd()) return std::nullopt;
  return "System Events: keystroke \"" + *key + "\"" + (command ? " using command" : "");
}

ScriptOutcome notUnderstood(Transcript& transcript, const std::string& source) {
  transcript.add("AppleScript error: cannot run \"" + source + "\"");
  return {false, "", "The script could not be understood."};
}

}  // namespace

std::filesystem::path scriptLog(const World& world) { return world.root() / "Library" / "Logs" / "scripts.log"; }

ScriptOutcome HostScriptRunner::run(const std::string& source) {
  logScript(source);
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
  std::optional<std::string> block;  // the application an open "tell" block speaks to
  // Keystrokes happen once the whole script is understood, as it is compiled first.
  std::vector<std::string> keystrokes;
  auto typed = [&keystrokes](std::optional<std::string> line) {
    if (line) keystrokes.push_back(std::move(*line));
    return line.has_value();
  };
  for (const auto& line : lines) {
    Reader reader(line);
    if (reader.atEnd()) continue;
    if (Reader delay(line); delay.words("delay")) continue;
    if (block) {
      if (Reader end(line); end.words("end tell") && end.atEnd()) {
        block.reset();
      } else if (*block != "System Events" || !typed(keystroke(reader))) {
        return notUnderstood(transcript_, source);
      }
      continue;
    }
    if (!reader.words("tell application")) return notUnderstood(transcript_, source);
    auto target = reader.string();
    if (!target) return notUnderstood(transcript_, source);
    if (reader.atEnd()) {
      block = *target;
      continue;
    }
    if (*target == "System Events") {
      if (!reader.words("to") || !typed(keystroke(reader))) return notUnderstood(transcript_, source);
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
  if (block) return notUnderstood(transcript_, source);
  for (auto& line : keystrokes) transcript_.add(std::move(line));
  return outcome;
}

void HostScriptRunner::logScript(const std::string& source) {
  std::string line;
  const auto front = workspace_.frontmostApplication();
  line += front ? front->localizedName : "-";
  line += '\t';
  for (char c : source) line += c == '\n' ? std::string("\\n") : c == '\\' ? std::string("\\\\") : std::string(1, c);
  std::error_code ec;
  std::filesystem::create_directories(scriptLog(world_).parent_path(), ec);
  std::ofstream(scriptLog(world_), std::ios::app | std::ios::binary) << line << "\n";
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
