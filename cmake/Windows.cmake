# The product: hostglow.exe, a 32-bit GUI program that imports system DLLs only.
enable_language(RC)

add_executable(hostglow WIN32 ${HOSTGLOW_SOURCES} src/app/main.cpp res/hostglow.rc)
target_include_directories(hostglow PRIVATE src)
target_compile_definitions(hostglow PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
target_compile_options(hostglow PRIVATE ${HOSTGLOW_WARNINGS})

if(MINGW)
    # The echo calls are imported from ICMP.DLL, which every 32-bit Windows has;
    # MinGW ships no import library for it, so one is made from res/icmp.def.
    set(ICMP_IMPORT_LIB ${CMAKE_CURRENT_BINARY_DIR}/libicmp.a)
    add_custom_command(OUTPUT ${ICMP_IMPORT_LIB}
        COMMAND ${CMAKE_DLLTOOL} -k -d ${CMAKE_CURRENT_SOURCE_DIR}/res/icmp.def -l ${ICMP_IMPORT_LIB}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/icmp.def
        COMMENT "Making the import library of ICMP.DLL")
    add_custom_target(icmp_import DEPENDS ${ICMP_IMPORT_LIB})
    add_dependencies(hostglow icmp_import)
    target_link_libraries(hostglow PRIVATE ${ICMP_IMPORT_LIB} wsock32)
    target_link_options(hostglow PRIVATE -static -static-libgcc -static-libstdc++
                        $<$<NOT:$<CONFIG:Debug>>:-s>)
else()
    # The resource script carries the manifest; MSVC's linker would add a second.
    target_link_libraries(hostglow PRIVATE iphlpapi wsock32)
    target_link_options(hostglow PRIVATE /MANIFEST:NO)
endif()

if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
    # Checks of the built program that run on the build machine.
    add_test(NAME exe.is_pe32_gui_with_system_imports
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/exe/check-exe.sh $<TARGET_FILE:hostglow>)
    include(${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/e2e.cmake OPTIONAL)
endif()

# The end-to-end tests' helper, a console program run beside hostglow.exe.
add_executable(hgprobe tests/e2e/hgprobe.cpp)
target_compile_definitions(hgprobe PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
target_link_libraries(hgprobe PRIVATE psapi)
if(MINGW)
    target_link_options(hgprobe PRIVATE -static -static-libgcc -static-libstdc++)
endif()

# The benchmark's own echo loops, on the program's PingHost.
add_executable(echobench bench/echobench.cpp src/app/Settings.cpp src/probe/PingHost.cpp)
target_include_directories(echobench PRIVATE src)
target_compile_definitions(echobench PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
if(MINGW)
    add_dependencies(echobench icmp_import)
    target_link_libraries(echobench PRIVATE ${ICMP_IMPORT_LIB} wsock32)
    target_link_options(echobench PRIVATE -static -static-libgcc -static-libstdc++)
else()
    target_link_libraries(echobench PRIVATE iphlpapi wsock32)
endif()
