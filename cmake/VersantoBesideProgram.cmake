# versanto_install_beside_program(<name>
#     [FROM <path>]        a file or folder to copy beside the program at build time
#     [BUILT_BY <target>]  <build>/bin/<name> is made there by that target (nothing is copied)
#     [DIRECTORY])         with BUILT_BY: what the target makes is a folder
#
# Files and folders the program looks up beside itself (app::BesideProgram):
# <build>/bin/<name> while it runs from the build tree, and
# <prefix>/share/versanto/<name> once installed. Exactly one of FROM and
# BUILT_BY is given. A folder given with FROM is copied afresh, so a file
# removed from the sources is gone from the copy too.
#
# Every item is built with the target versanto_beside_program (part of "all",
# and a dependency of the program's library), and its name is added to the
# list that versanto_write_beside_program_list() writes out for the install
# check.
#
# Examples:
#   versanto_install_beside_program(donate.htm FROM ${PROJECT_SOURCE_DIR}/resources/donate.htm)
#   versanto_install_beside_program(Photos BUILT_BY make_sample_photos DIRECTORY)

include(GNUInstallDirs)
set(VERSANTO_BESIDE_PROGRAM_DESTINATION ${CMAKE_INSTALL_DATADIR}/versanto)

function(versanto_install_beside_program name)
  cmake_parse_arguments(B "DIRECTORY" "FROM;BUILT_BY" "" ${ARGN})
  if(B_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "versanto_install_beside_program(${name}): unknown arguments ${B_UNPARSED_ARGUMENTS}")
  endif()
  if((B_FROM AND B_BUILT_BY) OR (NOT B_FROM AND NOT B_BUILT_BY))
    message(FATAL_ERROR "versanto_install_beside_program(${name}): give either FROM or BUILT_BY")
  endif()
  if(NOT CMAKE_RUNTIME_OUTPUT_DIRECTORY)
    message(FATAL_ERROR "versanto_install_beside_program(${name}): CMAKE_RUNTIME_OUTPUT_DIRECTORY, the program's folder, is not set")
  endif()
  get_property(known GLOBAL PROPERTY VERSANTO_BESIDE_PROGRAM)
  if(name IN_LIST known)
    message(FATAL_ERROR "versanto_install_beside_program(${name}): already placed beside the program")
  endif()

  if(NOT TARGET versanto_beside_program)
    add_custom_target(versanto_beside_program ALL)
  endif()
  set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
  string(MAKE_C_IDENTIFIER "beside_program_${name}" step)

  if(B_BUILT_BY)
    add_dependencies(versanto_beside_program ${B_BUILT_BY})
  else()
    cmake_path(ABSOLUTE_PATH B_FROM BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE)
    if(IS_DIRECTORY ${B_FROM})
      set(B_DIRECTORY TRUE)
      file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${B_FROM}/*)
      # The list of files is an input of its own: removing a file from the
      # folder changes it, and that makes the copy run again.
      list(JOIN inputs "\n" listing)
      set(listing_file ${CMAKE_CURRENT_BINARY_DIR}/${step}.files)
      file(CONFIGURE OUTPUT ${listing_file} CONTENT "${listing}\n" @ONLY)
      set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${step}.stamp)
      add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${out}
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${B_FROM} ${out}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${inputs} ${listing_file}
        COMMENT "Placing the folder ${name} beside the program"
        VERBATIM)
      add_custom_target(${step} DEPENDS ${stamp})
    else()
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E copy ${B_FROM} ${out}
        DEPENDS ${B_FROM}
        VERBATIM)
      add_custom_target(${step} DEPENDS ${out})
    endif()
    add_dependencies(versanto_beside_program ${step})
  endif()

  if(B_DIRECTORY)
    install(DIRECTORY ${out} DESTINATION ${VERSANTO_BESIDE_PROGRAM_DESTINATION})
  else()
    install(FILES ${out} DESTINATION ${VERSANTO_BESIDE_PROGRAM_DESTINATION})
  endif()
  set_property(GLOBAL APPEND PROPERTY VERSANTO_BESIDE_PROGRAM ${name})
endfunction()

# versanto_write_beside_program_list(<header> <text file>)
#
# Writes the names of every item placed beside the program, as a C++ header
# (an array of names, kBesideProgramItems) and as a text file with one name a
# line. Called once at the end of the top-level CMakeLists.txt, when every
# folder has placed its items. The files are rewritten only when the list
# changes.
function(versanto_write_beside_program_list header text)
  get_property(items GLOBAL PROPERTY VERSANTO_BESIDE_PROGRAM)
  set(entries "")
  foreach(item IN LISTS items)
    string(APPEND entries "    \"${item}\",\n")
  endforeach()
  file(CONFIGURE OUTPUT ${header} CONTENT [[
// Made by CMake (versanto_write_beside_program_list): the files and folders
// the build places beside the program.
#pragma once

#include <array>

namespace app {

inline constexpr std::array kBesideProgramItems{
@entries@};

}  // namespace app
]] @ONLY)
  list(JOIN items "\n" lines)
  file(CONFIGURE OUTPUT ${text} CONTENT "${lines}\n" @ONLY)
endfunction()
