# Read by cpack before it builds a package. Without dpkg-shlibdeps CPack would quietly leave the
# linked libraries out of Depends, and the package would install but the window not start.
if(CPACK_GENERATOR STREQUAL "DEB")
    find_program(KEYSTRIDE_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(NOT KEYSTRIDE_DPKG_SHLIBDEPS)
        message(FATAL_ERROR "dpkg-shlibdeps (Debian package dpkg-dev) is missing; without it "
            "the package would not depend on the libraries its programs link")
    endif()
endif()
