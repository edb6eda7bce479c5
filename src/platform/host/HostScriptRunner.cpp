#include "platform/host/HostScriptRunner.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
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
  // A variable's name: a letter or "_", then letters, digits and "_".
  std::optional<std::string> identifier() {
    skipBlanks();
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    std::size_t n = 0;
    while (n < rest_.size() && (letter(rest_[n]) || (n > 0 && rest_[n] >= '0' && rest_[n] <= '9'))) ++n;
    if (n == 0 || (n < rest_.size() && rest_[n] != ' ' && rest_[n] != '\t')) return std::nullopt;
    std::string name(rest_.substr(0, n));
    rest_.remove_prefix(n);
    return name;
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

// What a browser is asked for the URL of: its front tab, or all tabs of its first window.
struct TabSource {
  std::string_view words;
  bool allTabs;
};

constexpr TabSource kTabSources[] = {
    {"front document", false},
    {"active tab of front window", false},
    {"every tab of window 1", true},
    {"tabs of front window", true},
};

// "URL of" one of the sources; nothing when the words name none.
const TabSource* tabSource(Reader& reader) {
  if (!reader.words("URL of")) return nullptr;
  for (const auto& source : kTabSources) {
    Reader rest = reader;
    if (rest.words(source.words)) {
      reader = rest;
      return &source;
    }
  }
  return nullptr;
}

// "as string" or "as text" at the end of the statement; false when something else follows.
bool coercion(Reader& reader, bool& toText) {
  toText = false;
  if (reader.atEnd()) return true;
  Reader asString = reader;
  Reader asText = reader;
  toText = (asString.words("as string") && asString.atEnd()) || (asText.words("as text") && asText.atEnd());
  return toText;
}

// A value of the script: a text, or a list of texts (what "URL of every tab" gives).
struct Value {
  std::vector<std::string> items;
  bool list = false;
};

// A value as the script's result: lists made text are joined with the text item
// delimiters; a list left as it is has no text to give.
std::string resultText(const Value& value, bool toText, const std::string& delimiters) {
  if (!value.list) return value.items.empty() ? std::string() : value.items.front();
  if (!toText) return "";
  std::string out;
  for (std::size_t i = 0; i < value.items.size(); ++i) out += (i ? delimiters : "") + value.items[i];
  return out;
}

// The delimiters a "set AppleScript's text item delimiters to" statement names.
std::optional<std::string> delimitersNamed(Reader& reader) {
  constexpr std::pair<std::string_view, std::string_view> kConstants[] = {
      {"linefeed", "\n"}, {"return", "\r"}, {"tab", "\t"}, {"space", " "}};
  for (const auto& [name, text] : kConstants) {
    Reader constant = reader;
    if (constant.words(name) && constant.atEnd()) return std::string(text);
  }
  auto literal = reader.string();
  if (!literal || !reader.atEnd()) return std::nullopt;
  return literal;
}

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
  std::string delimiters;            // AppleScript's text item delimiters: none at first
  std::map<std::string, Value> variables;
  // Keystrokes happen once the whole script is understood, as it is compiled first.
  std::vector<std::string> keystrokes;
  auto typed = [&keystrokes](std::optional<std::string> line) {
    if (line) keystrokes.push_back(std::move(*line));
    return line.has_value();
  };
  // Statements act in order; a "return" ends the script with its value.
  std::vector<std::function<std::optional<ScriptOutcome>()>> statements;
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
    if (Reader set(line); set.words("set AppleScript's text item delimiters to")) {
      auto named = delimitersNamed(set);
      if (!named) return notUnderstood(transcript_, source);
      statements.emplace_back([&delimiters, named]() -> std::optional<ScriptOutcome> {
        delimiters = *named;
        return std::nullopt;
      });
      continue;
    }
    if (Reader ret(line); ret.words("return")) {
      auto name = ret.identifier();
      bool toText = false;
      if (!name || !coercion(ret, toText)) return notUnderstood(transcript_, source);
      statements.emplace_back([&, name = *name, toText]() -> std::optional<ScriptOutcome> {
        auto value = variables.find(name);
        if (value == variables.end()) return ScriptOutcome{false, "", "The variable " + name + " is not defined."};
        return ScriptOutcome{true, resultText(value->second, toText, delimiters), ""};
      });
      continue;
    }
    if (!reader.words("tell application")) return notUnderstood(transcript_, source);
    auto target = reader.string();
    if (!target) return notUnderstood(transcript_, source);
    if (reader.atEnd()) {
      block = *target;
      continue;
    }
    if (!reader.words("to")) return notUnderstood(transcript_, source);
    if (*target == "System Events") {
      if (!typed(keystroke(reader))) return notUnderstood(transcript_, source);
      continue;
    }
    // "to return URL of ..." or "to set NAME to URL of ...".
    Reader returned = reader;
    std::optional<std::string> variable;
    bool toText = false;
    const TabSource* asked = nullptr;
    if (returned.words("return")) {
      asked = tabSource(returned);
      if (!asked || !coercion(returned, toText)) return notUnderstood(transcript_, source);
    } else if (reader.words("set") && (variable = reader.identifier()) && reader.words("to")) {
      asked = tabSource(reader);
      if (!asked || !reader.atEnd()) return notUnderstood(transcript_, source);
    } else {
      return notUnderstood(transcript_, source);
    }
    statements.emplace_back([&, browser = *target, asked, variable, toText]() -> std::optional<ScriptOutcome> {
      Value value;
      value.list = asked->allTabs;
      if (auto failed = tabUrls(browser, asked->allTabs, value.items)) return failed;
      if (!variable) return ScriptOutcome{true, resultText(value, toText, delimiters), ""};
      variables[*variable] = std::move(value);
      return std::nullopt;
    });
  }
  if (block) return notUnderstood(transcript_, source);
  for (auto& line : keystrokes) transcript_.add(std::move(line));
  for (const auto& statement : statements)
    if (auto ended = statement()) return *ended;
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

std::optional<ScriptOutcome> HostScriptRunner::tabUrls(const std::string& browser, bool allTabs,
                                                       std::vector<std::string>& urls) {
  if (!workspace_.fullPathForApplication(browser))
    return ScriptOutcome{false, "", "Can't get application \"" + browser + "\"."};
  auto window = tabs_.window(browser);
  if (!window) return ScriptOutcome{false, "", "Can't get window 1 of application \"" + browser + "\"."};
  if (allTabs)
    urls = window->tabs;
  else
    urls = {window->tabs[window->active]};
  return std::nullopt;
}

ScriptOutcome HostScriptRunner::closeTabs(const std::string& browser, const std::string& url) {
  if (!workspace_.fullPathForApplication(browser)) return {false, "", "Can't get application \"" + browser + "\"."};
  if (!tabs_.window(browser)) return {false, "", "Can't get window 1 of application \"" + browser + "\"."};
  const std::size_t closed = tabs_.closeTabs(browser, url);
  transcript_.add(browser + ": closed " + std::to_string(closed) + " tab(s) " + url);
  return {true, "", ""};
}

}  // namespace routelle
