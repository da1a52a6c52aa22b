# versanto_add_test(<name>
#     SOURCES <files...>
#     [LIBS <targets...>]
#     [GUI]            link the QApplication test main (Widgets, offscreen platform)
#     [XVFB]           run under xvfb-run with a real X server instead of offscreen
#     [TIMEOUT <s>]    default 300
#     [LABELS <l...>]
#     [ENV <NAME=value...>])  more environment, or a pinned value changed
#                             (e.g. QT_SCALE_FACTOR=2, LANG=it_IT.UTF-8)
#
# One GoogleTest binary, registered with CTest as one test. Every test runs
# with its own HOME and XDG folders below the build tree, a pinned locale and
# no sound device, so that no test reads or changes the user's real data and
# no two tests see each other's files.
function(versanto_add_test name)
  cmake_parse_arguments(T "GUI;XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  versanto_target_defaults(${name})
  if(T_GUI OR T_XVFB)
    target_link_libraries(${name} PRIVATE versanto_gui_test_main)
  else()
    target_link_libraries(${name} PRIVATE versanto_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()

  set(home ${CMAKE_BINARY_DIR}/test-home/${name})
  set(env
    HOME=${home}
    XDG_DATA_HOME=${home}/data
    XDG_CONFIG_HOME=${home}/config
    XDG_CACHE_HOME=${home}/cache
    XDG_RUNTIME_DIR=${home}/runtime
    LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=UTC
    SDL_AUDIODRIVER=dummy
    VERSANTO_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    VERSANTO_BINARY_DIR=${CMAKE_BINARY_DIR}
    VERSANTO_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests/data)
  # Later entries win, so ENV may change a pinned value.
  list(APPEND env ${T_ENV})
  if(T_XVFB)
    add_test(NAME ${name}
      COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-test-home ${home}
              xvfb-run -a -s "-screen 0 1920x1080x24" $<TARGET_FILE:${name}>)
  else()
    list(APPEND env QT_QPA_PLATFORM=offscreen)
    add_test(NAME ${name}
      COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-test-home ${home} $<TARGET_FILE:${name}>)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
endfunction()
