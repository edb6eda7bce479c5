#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host/World.h"

namespace routelle {

struct AppSpec {
  std::string name;        // bundle file name without ".app"
  std::string identifier;  // empty: the Info.plist declares none
  std::string folder = "/Applications";
  std::vector<std::string> urlSchemes;
  std::vector<std::string> documentExtensions;  // "*" for any document
  bool binaryInfoPlist = false;
  std::string executable = "app";  // CFBundleExecutable
  // Shell commands the executable runs; by default it logs how it was started.
  std::string executableScript;
};

// Places an application bundle in the world: Info.plist and an executable that
// appends the way it was started (name, "(background)" under open -g, its
// arguments) to the launch log of the world it runs in (ROUTELLE_WORLD).
std::filesystem::path installApplication(const World& world, const AppSpec& wanted);

// Removes an installed application's bundle (a platform path) and says so to
// the world's workspaces.
void removeApplication(const World& world, const std::string& platformPath);

// Where installed applications record their launches, one line each.
std::filesystem::path launchLog(const World& world);

}  // namespace routelle
