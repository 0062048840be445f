# A library's users see only its public headers. Every header of a library is
# reached through a forwarding header that includes it by its full path: the
# public ones from an include folder of the library's own, which its users
# get by linking it, the rest from a private folder that only the library
# sees (and the tests of its internals, through <library>_private). An
# include of another library's internals then fails to compile, naming the
# header.
#
#   dialvault_headers(LIBRARY PUBLIC store/contactstore.h ...)
#
# Headers are named from src/; call it once the library lists all its sources.
function(dialvault_headers target)
  cmake_parse_arguments(ARG "" "" "PUBLIC" ${ARGN})
  set(sourceRoot ${PROJECT_SOURCE_DIR}/src)
  set(publicDir ${PROJECT_BINARY_DIR}/include/public/${target})
  set(privateDir ${PROJECT_BINARY_DIR}/include/private/${target})
  get_target_property(sources ${target} SOURCES)
  get_target_property(targetDir ${target} SOURCE_DIR)
  set(headers)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.h$")
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${targetDir} NORMALIZE OUTPUT_VARIABLE path)
      cmake_path(RELATIVE_PATH path BASE_DIRECTORY ${sourceRoot} OUTPUT_VARIABLE relative)
      list(APPEND headers ${relative})
    endif()
  endforeach()
  foreach(relative IN LISTS ARG_PUBLIC)
    if(NOT relative IN_LIST headers)
      message(FATAL_ERROR "${target} lists ${relative} as public, but has no such header")
    endif()
  endforeach()
  _dialvault_forward(${privateDir} "${headers}")
  _dialvault_forward(${publicDir} "${ARG_PUBLIC}")
  target_include_directories(${target} PUBLIC ${publicDir} PRIVATE ${privateDir})
  add_library(${target}_private INTERFACE)
  target_include_directories(${target}_private INTERFACE ${privateDir})
  target_link_libraries(${target}_private INTERFACE ${target})
endfunction()

# Writes a forwarding header in `dir` for each of `headers` (named from src/),
# and removes those left from headers that are gone or no longer public. A
# forwarder is rewritten only when it changes, so configuring again rebuilds
# nothing.
function(_dialvault_forward dir headers)
  file(GLOB_RECURSE existing LIST_DIRECTORIES false RELATIVE ${dir} ${dir}/*.h)
  foreach(stale IN LISTS existing)
    if(NOT stale IN_LIST headers)
      file(REMOVE ${dir}/${stale})
    endif()
  endforeach()
  foreach(relative IN LISTS headers)
    file(CONFIGURE OUTPUT ${dir}/${relative}
      CONTENT "#include \"${PROJECT_SOURCE_DIR}/src/${relative}\"\n")
  endforeach()
endfunction()

# In OUT, each of the libraries named after it as seen from inside: its
# <library>_private target where it has one. Tests, benchmarks and fuzzers
# reach the internals of what they test, time or feed.
function(dialvault_internals out)
  set(libraries)
  foreach(library IN LISTS ARGN)
    if(TARGET ${library}_private)
      list(APPEND libraries ${library}_private)
    else()
      list(APPEND libraries ${library})
    endif()
  endforeach()
  set(${out} ${libraries} PARENT_SCOPE)
endfunction()
