# Tests of the main build that drive a second build tree, build/asan
# (tools/sanitize.sh): the window-free tests and kalimbrax-arm's under ASan and UBSan, and a
# short run of each fuzz target from its seed corpus. The build is a
# fixture, so the runs wait for it. All of them carry the label "long":
# `ctest -LE long` leaves them out while developing.
set(KX_ASAN_DIR ${CMAKE_BINARY_DIR}/asan)

# The sanitizer build compiles with both cores: it takes the locks of the
# end-to-end tests that stop a moving arm with a click (tests/CMakeLists.txt),
# so that none of them runs beside it.
add_test(NAME sanitize.build COMMAND bash ${CMAKE_SOURCE_DIR}/tools/sanitize.sh build ${KX_ASAN_DIR})
get_property(KX_TIMING_LOCKS GLOBAL PROPERTY KX_TIMING_LOCKS)
set_tests_properties(sanitize.build PROPERTIES FIXTURES_SETUP kx_asan TIMEOUT 1800 LABELS "sanitize;long"
                     RESOURCE_LOCK "${KX_TIMING_LOCKS}")

add_test(NAME sanitize.core-tests COMMAND bash ${CMAKE_SOURCE_DIR}/tools/sanitize.sh run ${KX_ASAN_DIR})
set_tests_properties(sanitize.core-tests PROPERTIES FIXTURES_REQUIRED kx_asan TIMEOUT 1800 LABELS "sanitize;long")

# Each fuzz run replays its whole seed corpus, then tries a fixed number of
# new inputs: the same work on any machine, where a time limit gave a slow
# machine fewer inputs and cost 30 s a target. The counts take a few seconds
# each here (two cores shared), from the rates of the timed runs: mesh about
# 4,400 inputs a second, options and kin 9,000, command 17,000, urdf 2,000
# (liburdfdom's parser and its XML tree); tga 1,500 on average but a few
# hundred once its inputs grow past about 8,000 runs into headers that ask
# for large blocks. Long campaigns are tools/fuzz.sh's.
set(KX_FUZZ_RUNS options 20000 tga 5000 mesh 10000 kin 20000 command 60000 urdf 10000)
while(KX_FUZZ_RUNS)
  list(POP_FRONT KX_FUZZ_RUNS target runs)
  add_test(NAME fuzz.${target}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tools/fuzz.sh --no-build --scratch --build-dir ${KX_ASAN_DIR}
                   --runs ${runs} ${target})
  # 77: no libFuzzer on this machine (the targets were not built).
  set_tests_properties(fuzz.${target} PROPERTIES FIXTURES_REQUIRED kx_asan TIMEOUT 300
                       SKIP_RETURN_CODE 77 LABELS "fuzz;long")
endwhile()
