#include "platform/linux/OpenCommand.h"

namespace routelle::linux_desktop {

std::optional<OpenRequest> parseOpenArguments(const std::vector<std::string>& args) {
  OpenRequest request;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "-g") {
      request.background = true;
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

}  // namespace routelle::linux_desktop
