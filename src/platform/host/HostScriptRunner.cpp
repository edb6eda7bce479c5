#include "platform/host/HostScriptRunner.h"

#include <regex>

#include "support/Text.h"

namespace routelle {

ScriptOutcome HostScriptRunner::run(const std::string& source) {
  std::string result;
  for (const auto& raw : text::split(source, "\n")) {
    static const std::regex delay(R"(^\s*delay\s+[0-9.]+\s*$)");
    static const std::regex keystroke(
        R"re(^\s*tell application "System Events" to keystroke "(.)" using \{(\w+) down\}\s*$)re");
    std::smatch m;
    if (raw.empty() || std::regex_match(raw, delay)) continue;
    if (std::regex_match(raw, m, keystroke)) {
      transcript_.add("System Events: keystroke \"" + m[1].str() + "\" using " + m[2].str());
      continue;
    }
    transcript_.add("AppleScript error: cannot run \"" + raw + "\"");
    return {false, "", "The script could not be understood."};
  }
  return {true, result, ""};
}

}  // namespace routelle
