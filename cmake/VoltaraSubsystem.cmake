# voltara_subsystem(<target> <folder> [DEPS libs...] [EXCLUDE files...])
# Builds every .cpp (and its .h/.ui) below <folder> into a static library. Sub-folders that are
# subsystems of their own (those passed to another voltara_subsystem call) are left out.
set(VOLTARA_SUBSYSTEM_DIRS "app/settings;app/companion" CACHE INTERNAL "")

function(voltara_subsystem target folder)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  set(dir ${CMAKE_SOURCE_DIR}/${folder})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  foreach(sub ${VOLTARA_SUBSYSTEM_DIRS})
    if(NOT sub STREQUAL folder AND sub MATCHES "^${folder}/")
      list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${sub}/")
    endif()
  endforeach()
  foreach(ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM srcs ${dir}/${ex})
  endforeach()
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  add_library(${target} STATIC ${CMAKE_SOURCE_DIR}/cmake/empty.cpp ${srcs})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} Qt6::Core)
  target_compile_definitions(${target} PUBLIC
    VOLTARA_VERSION="${PROJECT_VERSION}"
    VOLTARA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VOLTARA_HELP_URL="${VOLTARA_HELP_URL}"
    VOLTARA_SUPPORT_URL="${VOLTARA_SUPPORT_URL}"
    VOLTARA_RATING_URL="${VOLTARA_RATING_URL}")
endfunction()
