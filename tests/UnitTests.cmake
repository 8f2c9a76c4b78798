# kx_add_unit_tests(TARGET): the unit-test program TARGET as one ctest test,
# run whole. A ctest test per case (gtest_discover_tests) started a process
# for each of some 320 cases that run in about 3 s together: the starts took
# several times that, a tenth of the quick suite. gtest names the cases that
# fail; `TARGET --gtest_filter=PATTERN` runs some of them.
function(kx_add_unit_tests target)
  add_test(NAME unit.${target} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(unit.${target} PROPERTIES TIMEOUT 300)
endfunction()
