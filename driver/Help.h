#pragma once
#include <string>

// What --help says beyond the option lists: the world, and each verb's details.
namespace routelle::driver::help {

extern const char* const kAbout;
std::string footer();  // the world, the script commands, and where this driver lives

extern const char* const kScript;
extern const char* const kInstallApp;
extern const char* const kMenu;
extern const char* const kClick;
extern const char* const kRun;
extern const char* const kTabs;
extern const char* const kDefaults;
extern const char* const kShare;
extern const char* const kDate;
extern const char* const kRules;
extern const char* const kExplain;
extern const char* const kProfiles;

}  // namespace routelle::driver::help
