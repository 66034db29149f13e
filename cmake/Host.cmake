# The host build: the program's code on Linux against the project's own Win32
# layer, with the unit tests, the icon tools and, when asked, the fuzzers.
find_package(GTest REQUIRED)
include(GoogleTest)

set(HOSTGLOW_SANITIZE "" CACHE STRING "Sanitizers for the host build: address,undefined or thread")
if(HOSTGLOW_SANITIZE)
    add_compile_options(-fsanitize=${HOSTGLOW_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${HOSTGLOW_SANITIZE})
endif()

# The recording platform; its headers come first on the include path, so that
# the program's <windows.h> is the project's own.
add_library(fakewin32 STATIC tests/win32/fake/FakeWin32.cpp)
target_include_directories(fakewin32 PUBLIC tests/win32/include tests/win32/fake)
target_compile_options(fakewin32 PRIVATE -Wall -Wextra)
find_package(Threads REQUIRED)
target_link_libraries(fakewin32 PUBLIC Threads::Threads)

add_library(hostglow_core STATIC ${HOSTGLOW_SOURCES})
target_include_directories(hostglow_core PUBLIC src)
target_compile_options(hostglow_core PRIVATE ${HOSTGLOW_WARNINGS})
target_link_libraries(hostglow_core PUBLIC fakewin32)

add_executable(unit_tests
    tests/unit/AboutTest.cpp
    tests/unit/ApplicationTest.cpp
    tests/unit/CheckIPTest.cpp
    tests/unit/CommandLineTest.cpp
    tests/unit/EntryTest.cpp
    tests/unit/MainWndTest.cpp
    tests/unit/ParseIntTest.cpp
    tests/unit/PingHostTest.cpp
    tests/unit/ReadSettingsTest.cpp
    tests/unit/ThreadPingTest.cpp
    tests/unit/ThreadTest.cpp
    tests/unit/TrayIconTest.cpp)
target_link_libraries(unit_tests PRIVATE hostglow_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

include(${CMAKE_CURRENT_SOURCE_DIR}/tools/icons.cmake OPTIONAL)
include(${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/fuzz.cmake)
