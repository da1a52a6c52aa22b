# The print dialog, the page settings dialog and the print command over
# report_print; included from report/CMakeLists.txt beside report/ui's own
# targets.
set(print_ui_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(report_print_ui STATIC
  ${print_ui_dir}/page_settings.cpp
  ${print_ui_dir}/print_command.cpp
  ${print_ui_dir}/print_dialog.cpp
  ${print_ui_dir}/print_messages.cpp
  ${print_ui_dir}/print_pictures.cpp
  ${print_ui_dir}/print_progress.cpp
  ${print_ui_dir}/print_report.cpp
  ${print_ui_dir}/include/report/ui/page_settings.h
  ${print_ui_dir}/include/report/ui/print_command.h
  ${print_ui_dir}/include/report/ui/print_dialog.h
  ${print_ui_dir}/include/report/ui/print_progress.h
  ${print_ui_dir}/include/report/ui/print_report.h)
versanto_target_defaults(report_print_ui)
set_target_properties(report_print_ui PROPERTIES AUTOMOC ON)
target_include_directories(report_print_ui PUBLIC ${print_ui_dir}/include)
target_link_libraries(report_print_ui PUBLIC report_print report_print_pages report_resources Qt6::Widgets
                      Qt6::PrintSupport)

if(VERSANTO_BUILD_TESTS)
  versanto_add_test(report_print_ui_test
    SOURCES
      ${print_ui_dir}/tests/print_dialog_test.cpp
      ${print_ui_dir}/tests/print_command_test.cpp
      ${print_ui_dir}/tests/page_settings_test.cpp
    LIBS report_print_ui
    GUI
    LABELS printing)
  # The two commands over a cost list the band engine builds.
  versanto_add_test(report_print_report_test
    SOURCES ${print_ui_dir}/tests/print_report_test.cpp
    LIBS report_print_ui report_engine
    GUI
    LABELS printing
    ENV VERSANTO_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests/data)
  target_include_directories(report_print_report_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/print/tests
                             ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_include_directories(report_print_ui_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/print/tests)
endif()
