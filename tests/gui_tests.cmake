find_package(Qt6 REQUIRED COMPONENTS Test)

add_library(vocaline_guikit STATIC guikit.cpp)
target_link_libraries(vocaline_guikit PUBLIC vocaline_app vocaline_testkit Qt6::Test)

# One variable only: gtest_discover_tests passes its PROPERTIES on as a flat
# list, so a second NAME=VALUE would become a property of its own. The test
# program sets the rest itself (guikit.cpp).
set(OFFSCREEN "XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/xdg")
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/xdg)

add_executable(window_tests window_tests.cpp search_window_tests.cpp extract_window_tests.cpp
  photo_window_tests.cpp)
target_link_libraries(window_tests PRIVATE vocaline_guikit)
gtest_discover_tests(window_tests PROPERTIES ENVIRONMENT "${OFFSCREEN}" DISCOVERY_TIMEOUT 30)

add_executable(sound_tests sound_tests.cpp)
target_link_libraries(sound_tests PRIVATE vocaline_guikit)
# One process per test: SDL chooses its audio driver once per process.
gtest_discover_tests(sound_tests PROPERTIES ENVIRONMENT "${OFFSCREEN}" DISCOVERY_TIMEOUT 30)

add_test(NAME app.ClosesWithCtrlQUnderX
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/app_exit_test.sh $<TARGET_FILE:vocaline>)
