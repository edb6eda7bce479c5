#include "Install.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "platform/linux/LinuxProcessLauncher.h"

namespace routelle::desktop {
namespace {

namespace fs = std::filesystem;

fs::path dataHome() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  return data && *data ? fs::path(data) : fs::path(home ? home : "/") / ".local/share";
}

// An Exec argument quoted as freedesktop desktop entries quote one.
std::string quotedArgument(const std::string& argument) {
  if (argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) return argument;
  std::string quoted = "\"";
  // Inside quotes these take a backslash, and a backslash is itself escaped in
  // the file's strings: a literal backslash takes four.
  for (char c : argument) {
    if (c == '\\')
      quoted += "\\\\\\\\";
    else if (c == '"' || c == '`' || c == '$')
      quoted += std::string("\\\\") + c;
    else
      quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string desktopEntryText(const std::string& executable) {
  std::string exec;
  for (char c : quotedArgument(executable)) exec += c == '%' ? std::string("%%") : std::string(1, c);
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Routelle\n"
         "GenericName=Link router\n"
         "Comment=Opens every link in the browser your rules name\n"
         "Exec=" +
         exec +
         " %u\n"
         "Icon=routelle\n"
         "StartupNotify=false\n"
         "Categories=Network;WebBrowser;\n"
         "MimeType=x-scheme-handler/http;x-scheme-handler/https;x-scheme-handler/mailto;text/html;\n";
}

bool installDesktopEntry(const std::string& executable, const std::string& resourcesFolder) {
  const fs::path applications = dataHome() / "applications";
  std::error_code error;
  fs::create_directories(applications, error);
  const fs::path entry = applications / "routelle.desktop";
  {
    std::ofstream out(entry, std::ios::trunc);
    out << desktopEntryText(executable);
    if (!out.flush()) {
      std::cerr << "routelle-desktop: cannot write " << entry << "\n";
      return false;
    }
  }
  const fs::path icon = fs::path(resourcesFolder) / "AppIcon.png";
  if (fs::exists(icon, error)) {
    const fs::path icons = dataHome() / "icons/hicolor/256x256/apps";
    fs::create_directories(icons, error);
    fs::copy_file(icon, icons / "routelle.png", fs::copy_options::overwrite_existing, error);
  }
  if (!captureOutput({"update-desktop-database", applications.string()}))
    std::cerr << "routelle-desktop: update-desktop-database did not run; the entry is installed all the same\n";
  std::cout << "installed " << entry.string() << "\n";
  return true;
}

}  // namespace routelle::desktop
