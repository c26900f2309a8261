# The help documents in the build tree, the install rules and the CPack packages of the two
# layouts:
# - portable (the default): everything in the program's folder, which is also where the
#   program writes its source files; packed as a .tar.gz to unpack somewhere writable;
# - installed (MARLITH_INSTALLED): the program in <prefix>/bin, its help in
#   <prefix>/share/marlith3, a launcher, icons, AppStream metadata, a manual page and the
#   Debian documents; packed as a .deb for /usr.
# Include this after the marlith3 target exists.

if(NOT TARGET marlith3)
    message(FATAL_ERROR "packaging.cmake needs the marlith3 target; include it after add_executable(marlith3)")
endif()

set(MARLITH_HELP_FILES
    Help.htm
    QuickStart.htm
    style.css
    osm.rules
)
# The screenshots are made from a running build, so a fresh checkout may lack them.
foreach(picture IN ITEMS window.png area-file.png)
    if(EXISTS ${PROJECT_SOURCE_DIR}/htmfiles/images/${picture})
        list(APPEND MARLITH_HELP_FILES images/${picture})
    endif()
endforeach()

if(MARLITH_INSTALLED AND (APPLE OR NOT UNIX))
    message(FATAL_ERROR "MARLITH_INSTALLED lays the program out for a Linux system")
endif()

# Multi-config generators put the program one folder deeper, under the config name.
get_property(_marlith_multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
if(_marlith_multi_config)
    set(_marlith_program_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/$<CONFIG>)
else()
    set(_marlith_program_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endif()

# Where the program looks for its help, relative to itself; the same in the build tree as
# in an installed copy, so that a build runs from its output folder.
if(MARLITH_INSTALLED)
    target_compile_definitions(marlith3 PRIVATE MARLITH_INSTALLED)
    set(_marlith_help_dir share/marlith3/htmfiles)
    set(_marlith_help_copy_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/../${_marlith_help_dir})
    cmake_path(NORMAL_PATH _marlith_help_copy_dir)
else()
    set(_marlith_help_dir htmfiles)
    set(_marlith_help_copy_dir ${_marlith_program_dir}/htmfiles)
endif()

set(_marlith_help_copies)
foreach(file IN LISTS MARLITH_HELP_FILES)
    set(source ${PROJECT_SOURCE_DIR}/htmfiles/${file})
    set(copy ${_marlith_help_copy_dir}/${file})
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

# Debian wants 755 folders whatever the umask of the one who builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

foreach(file IN LISTS MARLITH_HELP_FILES)
    get_filename_component(subdir ${file} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/htmfiles/${file} DESTINATION ${_marlith_help_dir}/${subdir})
endforeach()

set(CPACK_PACKAGE_NAME Marlith3)
set(CPACK_PACKAGE_VENDOR "Marlith")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Land/water mask and vector terrain source files for flight-simulator scenery")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

if(MARLITH_INSTALLED)
    include(GNUInstallDirs)
    set(_marlith_id io.marlith.Marlith3)
    set(_marlith_generated ${CMAKE_BINARY_DIR}/package)

    install(TARGETS marlith3 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/${_marlith_id}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    configure_file(${PROJECT_SOURCE_DIR}/resources/${_marlith_id}.metainfo.xml.in
                   ${_marlith_generated}/${_marlith_id}.metainfo.xml @ONLY)
    install(FILES ${_marlith_generated}/${_marlith_id}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/marlith3.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${_marlith_id}.svg)

    # The bitmap icons are drawn from the SVG, so the two cannot drift apart.
    find_program(MARLITH_RSVG_CONVERT rsvg-convert REQUIRED)
    find_program(MARLITH_GZIP gzip REQUIRED)
    set(_marlith_package_files)
    foreach(size 48 128 256)
        set(png ${_marlith_generated}/icons/${size}x${size}/${_marlith_id}.png)
        add_custom_command(
            OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${_marlith_generated}/icons/${size}x${size}
            COMMAND ${MARLITH_RSVG_CONVERT} -w ${size} -h ${size}
                    ${PROJECT_SOURCE_DIR}/resources/marlith3.svg -o ${png}
            DEPENDS ${PROJECT_SOURCE_DIR}/resources/marlith3.svg
            COMMENT "Drawing the ${size}x${size} icon"
            VERBATIM
        )
        list(APPEND _marlith_package_files ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()

    # Debian keeps manual pages and changelogs compressed, without a time stamp (-n), so that
    # the same sources give the same package.
    function(marlith_gzip source output)
        add_custom_command(
            OUTPUT ${output}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${source} ${output}
            COMMAND ${MARLITH_GZIP} -9nf ${output}
            DEPENDS ${source}
            COMMENT "Compressing ${output}"
            VERBATIM
        )
    endfunction()
    marlith_gzip(${PROJECT_SOURCE_DIR}/docs/marlith3.1 ${_marlith_generated}/man/marlith3.1)
    marlith_gzip(${PROJECT_SOURCE_DIR}/resources/package/changelog
                 ${_marlith_generated}/doc/changelog)
    list(APPEND _marlith_package_files
        ${_marlith_generated}/man/marlith3.1.gz ${_marlith_generated}/doc/changelog.gz)
    add_custom_target(marlith_package_files ALL DEPENDS ${_marlith_package_files})

    install(FILES ${_marlith_generated}/man/marlith3.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/package/copyright
                  ${_marlith_generated}/doc/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marlith3)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_PACKAGE_NAME marlith3)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_PACKAGE_CONTACT "The Marlith developers <maintainers@marlith.io>")
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Marlith is a desktop tool for authors of flight-simulator terrain scenery.
Type a latitude and a longitude, and it shows the LOD 8 cell and the LOD 13
area that hold the spot. Load an aerial image of that area, click point
after point on it, trim the two point lists, and Marlith writes the
assembler sources LWMSource.asm and VTPSource.asm that the scenery
compiler BGLC reads. Georeferenced images of any size are cut to the area
through GDAL. The command line writes the same files without a window.]])
    # The libraries the program links come from dpkg-shlibdeps. The Qt platform and image
    # plugins it loads at run time (xcb, GIF, JPEG) ship in libqt6gui6, which that names
    # already. Help documents and the text editor open through xdg-open.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
    target_link_options(marlith3 PRIVATE LINKER:-z,relro,-z,now)
else()
    install(TARGETS marlith3 RUNTIME DESTINATION .)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . OPTIONAL)

    # Windows has no system Qt: put the Qt libraries and plugins into the folder too.
    if(WIN32 AND TARGET Qt6::windeployqt)
        install(CODE "
            execute_process(
                COMMAND \"$<TARGET_FILE:Qt6::windeployqt>\" --no-translations --no-compiler-runtime
                        \"\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:marlith3>\"
                COMMAND_ERROR_IS_FATAL ANY)
        ")
    elseif(WIN32 AND NOT CMAKE_CROSSCOMPILING)
        message(WARNING "windeployqt not found: the portable folder will lack the Qt libraries")
    endif()

    set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME})
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
    if(WIN32)
        set(CPACK_GENERATOR ZIP TGZ)
    else()
        set(CPACK_GENERATOR TGZ)
    endif()
endif()
include(CPack)
