find_package(Qt6 REQUIRED COMPONENTS Test)

add_library(vocaline_guikit STATIC guikit.cpp)
target_link_libraries(vocaline_guikit PUBLIC vocaline_app vocaline_testkit Qt6::Test)

# One variable only: gtest_discover_tests passes its PROPERTIES on as a flat
# list, so a second NAME=VALUE would become a property of its own. The test
# program sets the rest itself (guikit.cpp).
set(OFFSCREEN "XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/xdg")
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/xdg)

add_executable(window_tests window_tests.cpp search_window_tests.cpp extract_window_tests.cpp
  photo_window_tests.cpp thumbnail_tests.cpp thumbgrid_window_tests.cpp)
target_link_libraries(window_tests PRIVATE vocaline_guikit)
gtest_discover_tests(window_tests PROPERTIES ENVIRONMENT "${OFFSCREEN}" DISCOVERY_TIMEOUT 30)

# The layout on the screens people have, one run per screen: the platform's
# configuration gives the screen's size and scale.
add_executable(layout_tests layout_tests.cpp)
target_link_libraries(layout_tests PRIVATE vocaline_guikit)
foreach(screen "1024 600 1" "1366 768 1" "1920 1080 1" "2732 1536 2")
  separate_arguments(screen)
  list(GET screen 0 width)
  list(GET screen 1 height)
  list(GET screen 2 scale)
  # The configuration counts in logical pixels: a 2732x1536 panel at
  # scale 2 is a 1366x768 screen.
  math(EXPR logicalWidth "${width} / ${scale}")
  math(EXPR logicalHeight "${height} / ${scale}")
  set(config ${CMAKE_CURRENT_BINARY_DIR}/screen-${width}x${height}@${scale}.json)
  file(WRITE ${config} "{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, \"width\": ${logicalWidth}, \"height\": ${logicalHeight}, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": ${scale}}]}\n")
  add_test(NAME layout.${width}x${height}@${scale}
    COMMAND env QT_QPA_PLATFORM=offscreen:configfile=${config} $<TARGET_FILE:layout_tests>)
  set_tests_properties(layout.${width}x${height}@${scale} PROPERTIES ENVIRONMENT "${OFFSCREEN}")
endforeach()

add_executable(sound_tests sound_tests.cpp)
target_link_libraries(sound_tests PRIVATE vocaline_guikit)
# One process per test: SDL chooses its audio driver once per process.
gtest_discover_tests(sound_tests PROPERTIES ENVIRONMENT "${OFFSCREEN}" DISCOVERY_TIMEOUT 30)

add_test(NAME app.ClosesWithCtrlQUnderX
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/app_exit_test.sh $<TARGET_FILE:vocaline>)

add_executable(desktop_tests desktop_tests.cpp)
target_link_libraries(desktop_tests PRIVATE vocaline_app vocaline_testkit Qt6::Test Qt6::DBus)
gtest_discover_tests(desktop_tests PROPERTIES ENVIRONMENT "${OFFSCREEN}" DISCOVERY_TIMEOUT 30)
# The file manager's D-Bus interface, on a bus of the test's own.
add_test(NAME desktop.ShowInFolderOnAPrivateBus
  COMMAND dbus-run-session -- env VOCALINE_PRIVATE_BUS=1 $<TARGET_FILE:desktop_tests> --gtest_filter=ShowInFolder.*)

add_executable(report_window_tests report_window_tests.cpp)
target_link_libraries(report_window_tests PRIVATE vocaline_guikit)
target_compile_definitions(report_window_tests PRIVATE VOCALINE_EXTRACT="$<TARGET_FILE:vocaline-extract>")
add_dependencies(report_window_tests vocaline-extract)
gtest_discover_tests(report_window_tests PROPERTIES ENVIRONMENT "${OFFSCREEN}" DISCOVERY_TIMEOUT 30)
