# Windows build (MinGW-w64): the program, the hook library, and the tests run under Wine.
enable_language(RC)

set(ZURIMO_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(ZURIMO_TEST_DIR ${CMAKE_BINARY_DIR}/tests)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_BIN_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${ZURIMO_BIN_DIR})
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

# Self-contained binaries: the C++ runtime is linked in. No debug information goes into
# them: Wine loads a PE file's sections into private memory, debug sections included.
add_link_options(-static -static-libgcc -static-libstdc++ -s)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# Resource scripts are UTF-8.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# A version block for each binary.
function(zurimo_version_rc target filename description filetype)
  set(ZURIMO_FILENAME ${filename})
  set(ZURIMO_DESCRIPTION ${description})
  set(ZURIMO_FILETYPE ${filetype})
  configure_file(${CMAKE_SOURCE_DIR}/resources/version.rc.in
                 ${CMAKE_BINARY_DIR}/generated/${target}/${target}_version.rc @ONLY)
endfunction()

# One Win32 library per subsystem, each on the layers below it only.
zurimo_sources(base_win_sources base/win)
add_library(zurimo_base_win STATIC ${base_win_sources})
target_link_libraries(zurimo_base_win PUBLIC zurimo_base_core ole32 shell32 comctl32 version)

zurimo_sources(history_win_sources history/win)
add_library(zurimo_history_win STATIC ${history_win_sources})
target_link_libraries(zurimo_history_win PUBLIC zurimo_history_core zurimo_base_win)

zurimo_sources(menu_win_sources menu/win)
add_library(zurimo_menu_win STATIC ${menu_win_sources})
target_link_libraries(zurimo_menu_win PUBLIC zurimo_menu_core zurimo_base_win)

# Zurimo.dll, the hook library; the program links against it by name.
zurimo_version_rc(Zurimo Zurimo.dll "Zurimo! hook library" VFT_DLL)
add_library(Zurimo SHARED
  hook/zurimo_hook.cpp
  hook/zurimo.def
  hook/zurimo_hook.rc
)
set_target_properties(Zurimo PROPERTIES PREFIX "" OUTPUT_NAME Zurimo)
target_include_directories(Zurimo PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated/Zurimo)
target_link_libraries(Zurimo PRIVATE user32 kernel32)

# ZurimoEx.dll, the Explorer extension: the portable core and base/win, nothing else.
zurimo_sources(shellext_win_sources shellext/win)
add_library(ZurimoEx SHARED ${shellext_win_sources} shellext/win/zurimo_ex.def
                            resources/zurimo_ex.rc)
set_target_properties(ZurimoEx PROPERTIES PREFIX "" OUTPUT_NAME ZurimoEx)
target_include_directories(ZurimoEx PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(ZurimoEx PRIVATE zurimo_shellext_core zurimo_base_win ole32 shell32 uuid version)

# The resident program's own Win32 code, shared by zurimo.exe and the Win32 tests.
zurimo_sources(app_win_sources app/win)
list(REMOVE_ITEM app_win_sources ${CMAKE_SOURCE_DIR}/app/win/winmain.cpp)
add_library(zurimo_app_win STATIC ${app_win_sources})
target_link_libraries(zurimo_app_win PUBLIC zurimo_app_core zurimo_history_win zurimo_menu_win Zurimo
                                            comctl32 ole32 shell32 uuid)

zurimo_version_rc(zurimo zurimo.exe "Zurimo! clipboard history" VFT_APP)
add_executable(zurimo WIN32 app/win/winmain.cpp resources/zurimo.rc)
# The script pulls these in; the resource compiler's dependencies do not know them.
set_source_files_properties(resources/zurimo.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/zurimo.manifest;${CMAKE_SOURCE_DIR}/resources/zurimo.ico")
target_include_directories(zurimo PRIVATE ${CMAKE_SOURCE_DIR}/resources
                                          ${CMAKE_BINARY_DIR}/generated/zurimo)
target_link_libraries(zurimo PRIVATE zurimo_app_win)

include(cmake/tools.cmake)

# The help page beside the program.
add_custom_command(TARGET zurimo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/docs/zurimo.html
          ${ZURIMO_BIN_DIR}/zurimo.html)

if(ZURIMO_TESTS)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # The Win32 layer, tested inside one process.
  add_executable(win_tests
    tests/unit/registry_contract_test.cpp
    tests/win/autostart_test.cpp
    tests/win/saved_history_test.cpp
  )
  target_link_libraries(win_tests PRIVATE zurimo_app_win zurimo_test_support gtest gtest_main)
  set_target_properties(win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TEST_DIR})
  # The program's code it tests is linked against the hook library: keep it alongside.
  add_custom_command(TARGET win_tests POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Zurimo> ${ZURIMO_TEST_DIR}/)

  # The Explorer extension, loaded and driven as Explorer does it.
  add_executable(shellext_tests
    tests/shellext/main.cpp
    tests/shellext/data_object.cpp
    tests/shellext/host.cpp
    tests/shellext/host_test.cpp
    tests/shellext/registration_test.cpp
  )
  target_include_directories(shellext_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(shellext_tests PRIVATE gtest ole32 uuid shell32)
  set_target_properties(shellext_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TEST_DIR})
  add_dependencies(shellext_tests ZurimoEx)

  # End-to-end: starts zurimo.exe and checks it from outside, as another program would.
  add_executable(e2e_tests
    tests/e2e/main.cpp
    tests/e2e/harness.cpp
    tests/e2e/harness_registry.cpp
    tests/e2e/harness_clipboard.cpp
    tests/e2e/harness_windows.cpp
    tests/e2e/harness_input.cpp
    tests/e2e/startup_test.cpp
    tests/e2e/saved_history_e2e_test.cpp
    tests/e2e/capture_test.cpp
    tests/e2e/history_window_test.cpp
    tests/e2e/tray_hot_key_test.cpp
    tests/e2e/options_test.cpp
    tests/e2e/keep_data_test.cpp
    tests/e2e/context_menu_test.cpp
    tests/e2e/shell_ext_control_test.cpp
    tests/e2e/find_edit_about_test.cpp
    tests/e2e/wide_text_test.cpp
    tests/e2e/fault_injection_test.cpp
  )
  target_link_libraries(e2e_tests PRIVATE zurimo_core gtest ole32 uuid comctl32 shell32 version)
  set_target_properties(e2e_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TEST_DIR})

  # The dialog templates of zurimo.exe and ZurimoEx.dll laid out at the system's DPI, under
  # the program's own manifest.
  add_executable(layout_tests tests/layout/layout_test.cpp tests/layout/layout_tests.rc)
  set_source_files_properties(tests/layout/layout_tests.rc PROPERTIES OBJECT_DEPENDS
    ${CMAKE_SOURCE_DIR}/resources/zurimo.manifest)
  target_include_directories(layout_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
  target_link_libraries(layout_tests PRIVATE zurimo_base_win gtest)
  set_target_properties(layout_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TEST_DIR})
  add_dependencies(layout_tests zurimo ZurimoEx)

  # Put into the program under test by a hook, it reports the popup menus the program shows.
  add_library(menu_probe SHARED tests/e2e/menu_probe.cpp)
  set_target_properties(menu_probe PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TEST_DIR})
  target_link_libraries(menu_probe PRIVATE user32)
  add_dependencies(e2e_tests menu_probe)
  add_library(fault_probe SHARED tests/e2e/fault_probe.cpp)
  set_target_properties(fault_probe PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TEST_DIR})
  target_link_libraries(fault_probe PRIVATE user32)
  add_dependencies(e2e_tests fault_probe)
endif()
