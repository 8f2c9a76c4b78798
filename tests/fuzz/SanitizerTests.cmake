# Tests of the main build that drive a second build tree, build/asan
# (tools/sanitize.sh): the window-free tests under ASan and UBSan, and a
# 30-second run of each fuzz target from its seed corpus. The build is a
# fixture, so the runs wait for it.
set(KX_ASAN_DIR ${CMAKE_BINARY_DIR}/asan)

add_test(NAME sanitize.build COMMAND bash ${CMAKE_SOURCE_DIR}/tools/sanitize.sh build ${KX_ASAN_DIR})
set_tests_properties(sanitize.build PROPERTIES FIXTURES_SETUP kx_asan TIMEOUT 1800 LABELS sanitize)

add_test(NAME sanitize.core-tests COMMAND bash ${CMAKE_SOURCE_DIR}/tools/sanitize.sh run ${KX_ASAN_DIR})
set_tests_properties(sanitize.core-tests PROPERTIES FIXTURES_REQUIRED kx_asan TIMEOUT 1800 LABELS sanitize)

foreach(target options tga mesh kin command)
  add_test(NAME fuzz.${target}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tools/fuzz.sh --no-build --scratch --build-dir ${KX_ASAN_DIR} 30 ${target})
  # 77: no libFuzzer on this machine (the targets were not built).
  set_tests_properties(fuzz.${target} PROPERTIES FIXTURES_REQUIRED kx_asan TIMEOUT 300
                       SKIP_RETURN_CODE 77 LABELS fuzz)
endforeach()
