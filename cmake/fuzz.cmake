# Fuzzing harnesses (fuzz/*_fuzz.cpp), one per reader or transform that takes outside bytes,
# over the portable core and the in-memory registry.
#  - Every native build: fuzz_replay, all harnesses in one program that runs each corpus
#    input once (scripts/run-tests.sh replays fuzz/corpus under ASan and UBSan).
#  - With ZURIMO_FUZZ (clang, ZURIMO_SANITIZE on; see scripts/fuzz.sh): one libFuzzer program
#    per harness, <name>_fuzz, all built by the target fuzz_all.
if(WIN32)
  return()
endif()

option(ZURIMO_FUZZ "Build the libFuzzer programs (clang only)" OFF)

set(ZURIMO_FUZZ_TARGETS
  history_file history_wide history_list transforms text registry user_string find selection url
  shell_commands)

if(ZURIMO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZURIMO_FUZZ needs clang (libFuzzer)")
  endif()
  # clang knows no execution character set but UTF-8, so this build leaves
  # -fexec-charset=CP932 out: narrow literals keep their UTF-8 bytes, the same in the core and
  # the harnesses, which changes none of the properties the harnesses check.
  get_directory_property(zurimo_targets BUILDSYSTEM_TARGETS)
  foreach(target ${zurimo_targets})
    get_target_property(options ${target} COMPILE_OPTIONS)
    if(options)
      list(REMOVE_ITEM options -fexec-charset=CP932)
      set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "${options}")
    endif()
  endforeach()
  get_directory_property(options COMPILE_OPTIONS)
  list(REMOVE_ITEM options -fexec-charset=CP932)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${options}")

  # Coverage feedback from the core as well as from the harnesses. The in-memory registry
  # is left out: it is no subject of the fuzzing, and its comparisons would only slow it.
  foreach(subsystem ${ZURIMO_SUBSYSTEMS})
    target_compile_options(zurimo_${subsystem}_core PRIVATE -fsanitize=fuzzer-no-link)
  endforeach()
  add_custom_target(fuzz_all)
  foreach(name ${ZURIMO_FUZZ_TARGETS})
    add_executable(${name}_fuzz fuzz/${name}_fuzz.cpp)
    target_compile_definitions(${name}_fuzz PRIVATE ZURIMO_LIBFUZZER)
    target_compile_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
    target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name}_fuzz PRIVATE zurimo_test_support)
    add_dependencies(fuzz_all ${name}_fuzz)
  endforeach()
elseif(ZURIMO_TESTS)
  list(TRANSFORM ZURIMO_FUZZ_TARGETS REPLACE "(.+)" "fuzz/\\1_fuzz.cpp" OUTPUT_VARIABLE sources)
  add_executable(fuzz_replay fuzz/replay_main.cpp ${sources})
  target_link_libraries(fuzz_replay PRIVATE zurimo_test_support)
endif()
