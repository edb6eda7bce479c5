# The host programs start faster when the libraries they rarely call are linked
# in: every shared library costs the loader a mapping, its relocations and the
# pages they dirty, at every start, whether it is used or not. Only libraries
# whose archives this system ships, and whose archives need no further shared
# library, are linked in; the others stay shared.
#   routelle_link_archives(TARGET NAME... [WITH LIB...])
# TARGET is a pkg-config imported target; it then links libNAME.a for each NAME
# (all or none), then each LIB as given.
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
  set_property(TARGET ${target} PROPERTY INTERFACE_LINK_LIBRARIES ${archives} ${arg_WITH})
endfunction()
