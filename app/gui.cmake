add_library(vocaline_app STATIC mainapp.cpp)
target_link_libraries(vocaline_app PUBLIC vocaline_ui PRIVATE vocaline_platform_qt)

add_executable(vocaline main.cpp)
target_link_libraries(vocaline PRIVATE vocaline_app)
target_compile_definitions(vocaline PRIVATE VOCALINE_VERSION="${PROJECT_VERSION}")
install(TARGETS vocaline RUNTIME DESTINATION bin)

# The translations (i18n/), built into the program. lupdate reads every
# source with texts the window shows; vocaline-extract's stay English.
file(GLOB VOCALINE_TR_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/app/main*.cpp ${PROJECT_SOURCE_DIR}/ui/*.cpp ${PROJECT_SOURCE_DIR}/ui/*.h
     ${PROJECT_SOURCE_DIR}/res/*.cpp ${PROJECT_SOURCE_DIR}/platform/qt/*.cpp ${PROJECT_SOURCE_DIR}/platform/qt/*.h)
qt_add_translations(vocaline_app
  TS_FILES ${PROJECT_SOURCE_DIR}/i18n/vocaline_de.ts ${PROJECT_SOURCE_DIR}/i18n/vocaline_fr.ts
  SOURCES ${VOCALINE_TR_SOURCES}
  INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}
  LUPDATE_OPTIONS -no-obsolete -locations none)
