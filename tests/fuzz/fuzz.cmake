# libFuzzer targets (clang), with AddressSanitizer and UndefinedBehaviorSanitizer
# from the preset. A bounded run of each is part of the fuzz preset's tests;
# `make fuzz-long` runs them longer.
option(HOSTGLOW_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(HOSTGLOW_FUZZ)
    set(FUZZ_SECONDS 15 CACHE STRING "Seconds each fuzzer runs in the test suite")
    target_compile_options(hostglow_core PUBLIC -fsanitize=fuzzer-no-link)
    target_compile_options(fakewin32 PUBLIC -fsanitize=fuzzer-no-link)
    foreach(target CommandLine ParseInt CheckIP SetTip)
        string(TOLOWER ${target} name)
        add_executable(fuzz_${name} tests/fuzz/Fuzz${target}.cpp)
        target_link_libraries(fuzz_${name} PRIVATE hostglow_core)
        target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
        set(corpus ${CMAKE_CURRENT_BINARY_DIR}/fuzz/${name})
        file(MAKE_DIRECTORY ${corpus})
        add_test(NAME fuzz.${name}
                 COMMAND fuzz_${name} -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=2048
                         -print_final_stats=1 ${corpus}
                         ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/corpus/${name})
        set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300)
    endforeach()
endif()
