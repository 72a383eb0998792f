# orlimo_gtest(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, its cases listed by ctest at test time.
include(GoogleTest)
find_package(GTest)

function(orlimo_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    ORLIMO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ORLIMO_TESTDATA_DIR="${ORLIMO_SHARED_TESTDATA}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 300)
endfunction()

# orlimo_bench(<name> SOURCES <files...> LIBS <targets...>)
function(orlimo_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE ORLIMO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()
