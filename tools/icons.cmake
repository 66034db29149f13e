# The icon generator and the checks of the committed icons against their maps.
add_executable(icogen tools/icogen.cpp)

set(HOSTGLOW_ICONS mainicon lamp_red lamp_green)
foreach(icon IN LISTS HOSTGLOW_ICONS)
    add_test(NAME icons.${icon}.matches_map
             COMMAND ${CMAKE_COMMAND} -DICOGEN=$<TARGET_FILE:icogen>
                     -DMAP=${CMAKE_CURRENT_SOURCE_DIR}/res/maps/${icon}.txt
                     -DICO=${CMAKE_CURRENT_SOURCE_DIR}/res/${icon}.ico
                     -DOUT=${CMAKE_CURRENT_BINARY_DIR}/icons/${icon}
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/tools/check-icon.cmake)
endforeach()
