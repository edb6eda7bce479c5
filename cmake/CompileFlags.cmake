# The warnings every target of ours is compiled with, C++ and Objective-C++ alike.
# This is the one list: scripts/check-macos.sh reads it too
# (`cmake -P cmake/CompileFlags.cmake` prints it), so the Linux compile check of the
# Mac sources sees exactly what the Mac build gives them.
set(ROUTELLE_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
# What the Objective-C++ sources are compiled with besides (the app and its extension).
set(ROUTELLE_OBJCXX_FLAGS -fobjc-arc)

if(CMAKE_SCRIPT_MODE_FILE)
  list(JOIN ROUTELLE_WARNING_FLAGS " " warnings)
  list(JOIN ROUTELLE_OBJCXX_FLAGS " " objcxx)
  message("${warnings} ${objcxx}")
  return()
endif()

# Warnings as errors are the test command's choice (scripts/test.sh turns them on):
# a user's or a packager's build never fails on a warning of a newer compiler.
option(ROUTELLE_WERROR "Treat warnings as errors" OFF)

# Linked by routelle_core, so every target of ours (and only ours) gets them.
add_library(routelle_warnings INTERFACE)
target_compile_options(routelle_warnings INTERFACE ${ROUTELLE_WARNING_FLAGS})
if(ROUTELLE_WERROR)
  target_compile_options(routelle_warnings INTERFACE -Werror)
endif()
# GCC 12 reports these falsely on std::string and std::vector code at -O3 (and
# maybe-uninitialized on initializer lists of structs holding strings, as in
# HostPresenterDialogTest).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(routelle_warnings INTERFACE
    $<$<CONFIG:Release,RelWithDebInfo>:-Wno-restrict> $<$<CONFIG:Release,RelWithDebInfo>:-Wno-array-bounds>
    $<$<CONFIG:Release,RelWithDebInfo>:-Wno-stringop-overflow> $<$<CONFIG:Release,RelWithDebInfo>:-Wno-stringop-overread>
    $<$<CONFIG:Release,RelWithDebInfo>:-Wno-maybe-uninitialized>)
endif()
