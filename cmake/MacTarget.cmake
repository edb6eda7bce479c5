# The oldest macOS the app and its extension run on. The bundles' property lists say
# the same (LSMinimumSystemVersion; a test holds them to it), and
# scripts/check-mac-target.sh compiles the core for it (`cmake -P` prints it).
set(ROUTELLE_MACOS_DEPLOYMENT_TARGET 10.11)

if(CMAKE_SCRIPT_MODE_FILE)
  message("${ROUTELLE_MACOS_DEPLOYMENT_TARGET}")
  return()
endif()
# Read by CMake when the project's languages are enabled: included before project().
set(CMAKE_OSX_DEPLOYMENT_TARGET ${ROUTELLE_MACOS_DEPLOYMENT_TARGET} CACHE STRING "Oldest macOS to run on")
