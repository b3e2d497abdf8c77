# Read by cpack for each generator: the archives hold the portable layout, the Debian package the
# system one under /usr.
list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 build_tree)
list(GET CPACK_INSTALL_CMAKE_PROJECTS 1 project)
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${build_tree};${project};system;/")
else()
    set(CPACK_INSTALL_CMAKE_PROJECTS "${build_tree};${project};portable;/")
endif()
