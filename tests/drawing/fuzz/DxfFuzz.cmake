# Builds the fuzz target of the DXF reader and the scene builder with clang, when clang is
# installed, and runs it for a few seconds as a test, starting from the seed drawings beside
# this file.
find_program(KALVEX_CLANGXX NAMES clang++ clang++-14)
if(NOT KALVEX_CLANGXX)
    message(STATUS "clang++ not found: the DXF reader fuzz test is left out")
    return()
endif()

include(ExternalProject)
set(fuzz_binary_dir ${CMAKE_CURRENT_BINARY_DIR}/dxf-fuzz)
ExternalProject_Add(dxf_reader_fuzzer_build
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${fuzz_binary_dir}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${KALVEX_CLANGXX} -DKALVEX_SOURCE_DIR=${PROJECT_SOURCE_DIR}
               -DCMAKE_BUILD_TYPE=Debug
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

set(fuzz_work_dir ${CMAKE_CURRENT_BINARY_DIR}/dxf-fuzz-corpus)
file(MAKE_DIRECTORY ${fuzz_work_dir})
add_test(NAME drawing_dxf_reader_fuzz
         COMMAND ${fuzz_binary_dir}/dxf_reader_fuzzer -max_total_time=5 -timeout=20
                 -rss_limit_mb=2048 -print_final_stats=1 ${fuzz_work_dir}
                 ${CMAKE_CURRENT_LIST_DIR}/seeds)
set_tests_properties(drawing_dxf_reader_fuzz PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp")
