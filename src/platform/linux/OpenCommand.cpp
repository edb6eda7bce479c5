#include "platform/linux/OpenCommand.h"

namespace routelle::linux_desktop {
namespace {

bool takesLinks(const std::string& word) { return word == "%u" || word == "%U" || word == "%f" || word == "%F"; }

// A word with the field codes inside it expanded: only "%%" means anything there.
std::string expandWithin(const std::string& word) {
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%') {
      out += word[i];
    } else if (i + 1 < word.size()) {
      if (word[++i] == '%') out += '%';
    }
  }
  return out;
}

}  // namespace

std::optional<OpenRequest> parseOpenArguments(const std::vector<std::string>& args) {
  OpenRequest request;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && arg == "--args") {
      request.arguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      break;
    } else if (options && arg == "--") {
      options = false;
    } else if (options && arg == "-g") {
      request.background = true;
    } else if (options && arg == "-n") {
      request.newInstance = true;
    } else if (options && (arg == "-a" || arg == "-b")) {
      if (i + 1 >= args.size()) return std::nullopt;
      (arg == "-a" ? request.application : request.identifier) = args[++i];
    } else if (options && arg.starts_with("-")) {
      return std::nullopt;
    } else {
      request.items.push_back(arg);
    }
  }
  return request;
}

std::vector<std::string> expandExec(const std::vector<std::string>& exec, const std::vector<std::string>& arguments,
                                    const EntryFields& fields) {
  std::vector<std::string> out;
  bool placed = false;
  std::optional<std::size_t> forwarding;  // where the open forwarding section began in out
  for (const auto& word : exec) {
    if (word == "@@u" || word == "@@") {
      // "@@u" or "@@" opens a section, the next "@@" closes it.
      forwarding = forwarding ? std::nullopt : std::optional<std::size_t>(out.size());
      out.push_back(word);
    } else if (takesLinks(word)) {
      if (placed) continue;
      placed = true;
      const auto at = forwarding ? out.begin() + static_cast<std::ptrdiff_t>(*forwarding) : out.end();
      out.insert(at, arguments.begin(), arguments.end());
    } else if (word == "%i") {
      if (!fields.icon.empty()) out.insert(out.end(), {"--icon", fields.icon});
    } else if (word == "%c") {
      out.push_back(fields.name);
    } else if (word == "%k") {
      out.push_back(fields.file);
    } else if (word.size() == 2 && word[0] == '%' && word[1] != '%') {
      // A field code of its own that means nothing here (%d, %n, %m... are deprecated).
    } else {
      out.push_back(expandWithin(word));
    }
  }
  if (!placed) out.insert(out.end(), arguments.begin(), arguments.end());
  return out;
}

std::optional<std::vector<std::vector<std::string>>> linkCommandLines(const std::vector<std::string>& exec,
                                                                      const std::vector<std::string>& links,
                                                                      const EntryFields& fields) {
  std::optional<bool> eachLink;  // "%u" rather than "%U": a program per link
  for (const auto& word : exec) {
    if (word == "%f" || word == "%F") return std::nullopt;
    if (!eachLink && (word == "%u" || word == "%U")) eachLink = word == "%u";
  }
  if (!eachLink && !links.empty()) return std::nullopt;
  std::vector<std::vector<std::string>> lines;
  if (!eachLink.value_or(false) || links.size() <= 1) {
    lines.push_back(expandExec(exec, links, fields));
  } else {
    for (const auto& link : links) lines.push_back(expandExec(exec, {link}, fields));
  }
  return lines;
}

}  // namespace routelle::linux_desktop
