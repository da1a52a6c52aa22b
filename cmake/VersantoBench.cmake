# versanto_add_bench(<name> SOURCES <files...> [LIBS <targets...>])
# A Google Benchmark program bench_<area> in build/bin; `make bench` runs all.
function(versanto_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  versanto_target_defaults(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
