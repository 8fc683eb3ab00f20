# The Windows side, cross-built with MinGW-w64 into windows/ of this build tree and run under
# Wine: one ctest test per group of the program's suites, all labelled "windows", one at a time
# (they share the Wine prefix and the fake CAD's class registration).
set(windows_tree ${PROJECT_BINARY_DIR}/windows)
set(windows_program ${windows_tree}/tests/windows/kalvex_windows_tests.exe)
find_program(KALVEX_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(KALVEX_MINGW_CXX)
    include(ExternalProject)
    ExternalProject_Add(kalvex_windows
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${windows_tree}
        CMAKE_GENERATOR Ninja
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/MinGW-w64.cmake
                   -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DKALVEX_QT=OFF
                   -DKALVEX_WERROR=${KALVEX_WERROR}
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
else()
    message(WARNING "No MinGW-w64 (x86_64-w64-mingw32-g++-posix): the Windows tests fail "
                    "until scripts/deps.sh has installed it")
endif()

# Suites are named after their group; a suite outside every group would never run, so the last
# test fails when the program holds one.
set(windows_groups Platform Objects Connection Faults Tabs Identity Program OutOfProcess Busy)
foreach(group ${windows_groups})
    add_test(NAME windows/${group}
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_wine.sh ${windows_program} "${group}*")
    list(APPEND windows_filters "${group}*")
endforeach()
list(JOIN windows_filters ":" grouped)
add_test(NAME windows/every-suite-in-a-group
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_wine.sh ${windows_program} "*:-${grouped}"
                 expect-none)
foreach(group ${windows_groups} every-suite-in-a-group)
    set_tests_properties(windows/${group} PROPERTIES
        LABELS windows RESOURCE_LOCK wine-prefix SKIP_RETURN_CODE 77 TIMEOUT 600)
endforeach()
