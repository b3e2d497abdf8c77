# zarn installed into the system, as the Debian package holds it: the program and zarn-cli, a
# desktop entry that shows the program in the menu and claims no file type, so that zarn never
# becomes what opens a folder or an .exe, the icon at the icon theme's usual sizes, the AppStream
# metainfo and the man pages.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
)
install(TARGETS zarn zarn-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT system)
install(FILES org.zarn.zarn.desktop
    DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT system
)
configure_file(org.zarn.zarn.metainfo.xml.in org.zarn.zarn.metainfo.xml @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/org.zarn.zarn.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo" COMPONENT system
)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE"
    DESTINATION "${CMAKE_INSTALL_DOCDIR}" RENAME copyright COMPONENT system
)

get_target_property(picture zarn_form ZARN_ICON)
set(icons)
foreach(size 16 24 32 48 64 128 256)
    set(icon "${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/zarn.png")
    add_custom_command(
        OUTPUT "${icon}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}"
        COMMAND zarn_icon_png "${picture}" ${size} "${icon}"
        DEPENDS zarn_icon_png "${picture}"
        COMMENT "Making the ${size}x${size} icon"
        VERBATIM
    )
    install(FILES "${icon}"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps" COMPONENT system
    )
    list(APPEND icons "${icon}")
endforeach()

# Man pages are installed compressed, without a name or time in the gzip header.
set(man_pages)
foreach(page zarn.1 zarn-cli.1)
    configure_file(${page}.in ${page} @ONLY)
    add_custom_command(
        OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${page}.gz"
        COMMAND gzip -9 --no-name --force --keep ${page}
        DEPENDS "${CMAKE_CURRENT_BINARY_DIR}/${page}"
        WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
        COMMENT "Compressing the man page ${page}"
        VERBATIM
    )
    list(APPEND man_pages "${CMAKE_CURRENT_BINARY_DIR}/${page}.gz")
endforeach()
install(FILES ${man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT system)

add_custom_target(zarn_system_files ALL DEPENDS ${icons} ${man_pages})
