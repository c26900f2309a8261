# The help documents beside the program in the build tree, the install rules of the portable
# folder, and the CPack archives. Include this after the marlith3 target exists.

if(NOT TARGET marlith3)
    message(FATAL_ERROR "packaging.cmake needs the marlith3 target; include it after add_executable(marlith3)")
endif()

set(MARLITH_HELP_FILES
    Help.htm
    QuickStart.htm
    style.css
)
# The window screenshot is made from a running build, so a fresh checkout may lack it.
if(EXISTS ${PROJECT_SOURCE_DIR}/htmfiles/images/window.png)
    list(APPEND MARLITH_HELP_FILES images/window.png)
endif()

# The program finds its help beside itself, so a build must be runnable from its output
# folder. Multi-config generators put the program one folder deeper, under the config name.
get_property(_marlith_multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
if(_marlith_multi_config)
    set(_marlith_program_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/$<CONFIG>)
else()
    set(_marlith_program_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endif()

set(_marlith_help_copies)
foreach(file IN LISTS MARLITH_HELP_FILES)
    set(source ${PROJECT_SOURCE_DIR}/htmfiles/${file})
    set(copy ${_marlith_program_dir}/htmfiles/${file})
    # One command per file: only a changed document is copied again.
    add_custom_command(
        OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${copy}
        DEPENDS ${source}
        COMMENT "Copying help document ${file}"
        VERBATIM
    )
    list(APPEND _marlith_help_copies ${copy})
endforeach()
add_custom_target(marlith_help DEPENDS ${_marlith_help_copies})
add_dependencies(marlith3 marlith_help)

# Portable layout: everything in one folder, which is also where the program writes its
# source files. Unpack it somewhere writable and run the program from there.
install(TARGETS marlith3 RUNTIME DESTINATION .)
foreach(file IN LISTS MARLITH_HELP_FILES)
    get_filename_component(subdir ${file} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/htmfiles/${file} DESTINATION htmfiles/${subdir})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . OPTIONAL)
install(FILES
    ${PROJECT_SOURCE_DIR}/resources/marlith3.desktop
    ${PROJECT_SOURCE_DIR}/resources/io.marlith.Marlith3.metainfo.xml
    DESTINATION .
)
# Named after the desktop file's Icon= key.
install(FILES ${PROJECT_SOURCE_DIR}/resources/marlith.png DESTINATION . RENAME marlith3.png)

# Windows has no system Qt: put the Qt libraries and plugins into the folder too.
if(WIN32 AND TARGET Qt6::windeployqt)
    install(CODE "
        execute_process(
            COMMAND \"$<TARGET_FILE:Qt6::windeployqt>\" --no-translations --no-compiler-runtime
                    \"\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:marlith3>\"
            COMMAND_ERROR_IS_FATAL ANY)
    ")
elseif(WIN32)
    message(WARNING "windeployqt not found: the portable folder will lack the Qt libraries")
endif()

set(CPACK_PACKAGE_NAME Marlith3)
set(CPACK_PACKAGE_VENDOR "Marlith")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Land/water mask and vector terrain source files for flight-simulator scenery")
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP TGZ)
else()
    set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
