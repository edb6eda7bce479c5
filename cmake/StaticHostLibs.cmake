# A program that starts a new process for every command starts faster with the
# libraries it rarely calls linked in: every shared library costs the loader a
# mapping, its relocations and the pages they dirty, at every start, used or not.
# Only libraries whose archives this system ships, and whose archives need no
# further shared library, are linked in; the others stay shared.
#   routelle_link_archives(TARGET NAME... [WITH LIB...])
# TARGET is a pkg-config imported target. A program whose ROUTELLE_LINK_ARCHIVES
# property is on links libNAME.a for each NAME (all or none), then each LIB;
# every other program links the shared libraries as before. (A program that
# loads the same library shared through another library, as Qt loads ICU,
# must keep it shared: it would run two copies.)
function(routelle_link_archives target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "WITH")
  set(archives)
  foreach(name IN LISTS arg_UNPARSED_ARGUMENTS)
    find_library(ROUTELLE_ARCHIVE_${name} NAMES lib${name}.a NO_CACHE)
    if(NOT ROUTELLE_ARCHIVE_${name})
      message(STATUS "${target}: no lib${name}.a, linked shared")
      return()
    endif()
    list(APPEND archives "${ROUTELLE_ARCHIVE_${name}}")
  endforeach()
  set(linkedIn "$<BOOL:$<TARGET_PROPERTY:ROUTELLE_LINK_ARCHIVES>>")
  get_target_property(shared ${target} INTERFACE_LINK_LIBRARIES)
  set(items)
  foreach(item IN LISTS archives arg_WITH)
    list(APPEND items "$<${linkedIn}:${item}>")
  endforeach()
  foreach(item IN LISTS shared)
    list(APPEND items "$<$<NOT:${linkedIn}>:${item}>")
  endforeach()
  set_property(TARGET ${target} PROPERTY INTERFACE_LINK_LIBRARIES ${items})
endfunction()
