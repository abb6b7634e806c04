# GUI-only resources: the icons (a Qt resource built into lumetra_ui) and the
# files that sit next to the executable: the splash bitmap and the language
# modules that exist.
add_library(lumetra_icons STATIC ${CMAKE_CURRENT_SOURCE_DIR}/icons.qrc)
set_target_properties(lumetra_icons PROPERTIES AUTORCC ON)
target_link_libraries(lumetra_icons PRIVATE lumetra_options Qt6::Core)

set(runtime_dir ${CMAKE_BINARY_DIR}/bin)
set(runtime_outputs "")
file(GLOB lang_modules CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/lang/LumetraRes*.res)
foreach(src ${CMAKE_CURRENT_SOURCE_DIR}/splash/Splash.Opn ${lang_modules})
  get_filename_component(name ${src} NAME)
  add_custom_command(
    OUTPUT ${runtime_dir}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${runtime_dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${runtime_dir}/${name}
    DEPENDS ${src}
    VERBATIM)
  list(APPEND runtime_outputs ${runtime_dir}/${name})
endforeach()
add_custom_target(lumetra_runtime_files ALL DEPENDS ${runtime_outputs})
add_dependencies(lumetra_icons lumetra_runtime_files)
