add_library(vocaline_app STATIC mainapp.cpp)
target_link_libraries(vocaline_app PUBLIC vocaline_ui PRIVATE vocaline_platform_qt)

add_executable(vocaline main.cpp)
target_link_libraries(vocaline PRIVATE vocaline_app)
target_compile_definitions(vocaline PRIVATE VOCALINE_VERSION="${PROJECT_VERSION}")
install(TARGETS vocaline RUNTIME DESTINATION bin)
