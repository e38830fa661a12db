# Tools that are not part of the product. For scripts/screenshots.sh: a host window for
# the Explorer menu and a driver of the running program. Built only when asked for by name,
# into tools/ beside bin/, so that neither `make windows` nor `make dist` ever carries them.
set(ZURIMO_TOOLS_DIR ${CMAKE_BINARY_DIR}/tools)

add_executable(menu_host WIN32 EXCLUDE_FROM_ALL tools/menu_host/menu_host.cpp
  tests/shellext/data_object.cpp)
target_link_libraries(menu_host PRIVATE zurimo_core ole32 uuid)

add_executable(shot_driver EXCLUDE_FROM_ALL tools/menu_host/shot_driver.cpp)

foreach(tool menu_host shot_driver)
  target_include_directories(${tool} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TOOLS_DIR})
endforeach()

# Used by scripts/measure.sh: start-up time, idle memory and save time of zurimo.exe from
# outside, against a trivial program with one window.
add_executable(measure EXCLUDE_FROM_ALL tools/measure/measure.cpp)
target_link_libraries(measure PRIVATE zurimo_history_win psapi)
add_executable(trivial_window WIN32 EXCLUDE_FROM_ALL tools/measure/trivial_window.cpp)
foreach(tool measure trivial_window)
  target_include_directories(${tool} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZURIMO_TOOLS_DIR})
endforeach()
