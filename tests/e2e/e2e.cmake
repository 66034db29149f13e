# The end-to-end suite: each case runs the real hostglow.exe under Wine, as
# root, in a network namespace of its own that holds only loopback.
find_program(PYTHON3 python3 REQUIRED)
find_program(UNSHARE unshare REQUIRED)
set(E2E ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/e2e.py)
set(E2E_PREFIX ${CMAKE_CURRENT_BINARY_DIR}/e2e/prefix)
set(E2E_SHOTS ${CMAKE_CURRENT_BINARY_DIR}/e2e/failed)

add_test(NAME e2e.prefix COMMAND ${UNSHARE} -n ${PYTHON3} ${E2E} prefix --prefix ${E2E_PREFIX})
set_tests_properties(e2e.prefix PROPERTIES FIXTURES_SETUP e2e_prefix RUN_SERIAL TRUE TIMEOUT 300)

set(E2E_CASES
    no_argument bad_address loopback unresolvable menu_exit menu_about about_nt about_95
    close_request quit_message exit_during_long_timeout exit_from_error_box)
foreach(case IN LISTS E2E_CASES)
    add_test(NAME e2e.${case}
             COMMAND ${UNSHARE} -n ${PYTHON3} ${E2E} ${case} --prefix ${E2E_PREFIX} --shots ${E2E_SHOTS})
    set_tests_properties(e2e.${case} PROPERTIES
        FIXTURES_REQUIRED e2e_prefix RUN_SERIAL TRUE TIMEOUT 180 PASS_REGULAR_EXPRESSION "PASS: ${case}")
endforeach()

# 20,000 probes, the host answering and silent by turns.
add_test(NAME e2e.soak
         COMMAND ${UNSHARE} -n ${PYTHON3} ${E2E} soak --prefix ${E2E_PREFIX} --shots ${E2E_SHOTS})
set_tests_properties(e2e.soak PROPERTIES
    FIXTURES_REQUIRED e2e_prefix RUN_SERIAL TRUE TIMEOUT 1200 PASS_REGULAR_EXPRESSION "PASS: soak")
