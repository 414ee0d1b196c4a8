# The program's own files (settings, help documents, busy animation, marking typefaces), where a
# program run from the build folder and an installed program find them, the install rules and
# the Debian package.
#
# The program's folder rule (see docs/INSTALL.md and src/platform/files/program_folder.h): the
# executable's folder when it holds "Settings", else <executable's folder>/../share/vela-keystride.
# So the build copies the files beside the built programs, and an install puts them in the data
# folder below the prefix.

include(GNUInstallDirs)

set(KEYSTRIDE_DATA_SOURCE_DIR ${CMAKE_SOURCE_DIR}/data)
set(KEYSTRIDE_RUN_DIR ${CMAKE_BINARY_DIR}/bin)
set(KEYSTRIDE_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vela-keystride)
set(KEYSTRIDE_INSTALL_FONTCONFIG_DIR ${CMAKE_INSTALL_DATADIR}/fonts/truetype/vela-keystride)
set(KEYSTRIDE_MARKING_FONT_FILES Cour1.ttf CourRaam.ttf Cour2.ttf Cour3.ttf cournuut.ttf)

if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
    message(WARNING "The program looks for its data folder at ../share/vela-keystride beside "
        "its executable; with CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and "
        "CMAKE_INSTALL_DATADIR=${CMAKE_INSTALL_DATADIR} an installed program will not find "
        "its settings, animation or fonts.")
endif()

# ---------------------------------------------------------------------------------------------
# The five marking typefaces, generated from Liberation Mono 2.x with FontForge's Python module.

# Debian 12 keeps the 2.x faces (OFL) in fonts-liberation2; later releases ship them as
# fonts-liberation. The generator refuses the 1.x faces, which are not under the OFL.
if(EXISTS /usr/share/fonts/truetype/liberation2/LiberationMono-Bold.ttf)
    set(keystride_liberation_default /usr/share/fonts/truetype/liberation2)
else()
    set(keystride_liberation_default /usr/share/fonts/truetype/liberation)
endif()
set(KEYSTRIDE_LIBERATION_DIR ${keystride_liberation_default} CACHE PATH
    "Folder holding LiberationMono-Regular.ttf and LiberationMono-Bold.ttf, version 2.x (OFL)")
set(KEYSTRIDE_FONTFORGE_PYTHON "" CACHE FILEPATH
    "Python interpreter with FontForge's module (empty: look for one)")

function(keystride_find_fontforge_python result)
    set(candidates ${KEYSTRIDE_FONTFORGE_PYTHON})
    # The module is a Debian package for the system's interpreter, which a python3 earlier on
    # PATH (a virtual environment, pyenv) does not see.
    if(EXISTS /usr/bin/python3)
        list(APPEND candidates /usr/bin/python3)
    endif()
    find_program(KEYSTRIDE_PATH_PYTHON3 NAMES python3)
    mark_as_advanced(KEYSTRIDE_PATH_PYTHON3)
    if(KEYSTRIDE_PATH_PYTHON3)
        list(APPEND candidates ${KEYSTRIDE_PATH_PYTHON3})
    endif()
    foreach(candidate IN LISTS candidates)
        execute_process(COMMAND ${candidate} -c "import fontforge"
            RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
        if(status EQUAL 0)
            set(${result} ${candidate} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${result} "" PARENT_SCOPE)
endfunction()

set(KEYSTRIDE_MARKING_FONTS_BUILT OFF)
set(KEYSTRIDE_FONT_BUILD_DIR ${CMAKE_BINARY_DIR}/fonts)
keystride_find_fontforge_python(keystride_fontforge_python)
set(keystride_fonts_problem "")
if(NOT keystride_fontforge_python)
    set(keystride_fonts_problem
        "no python3 with FontForge's module (Debian package python3-fontforge)")
else()
    # The generator itself says whether the source faces are there and under the OFL.
    execute_process(
        COMMAND ${keystride_fontforge_python} ${CMAKE_SOURCE_DIR}/scripts/make-marking-fonts.py
            --check-source --source-dir ${KEYSTRIDE_LIBERATION_DIR}
        RESULT_VARIABLE keystride_source_status
        OUTPUT_QUIET ERROR_VARIABLE keystride_source_problem ERROR_STRIP_TRAILING_WHITESPACE)
    if(NOT keystride_source_status EQUAL 0)
        string(REGEX REPLACE ".*make-marking-fonts: " "" keystride_fonts_problem
            "${keystride_source_problem}")
    endif()
endif()
if(NOT keystride_fonts_problem STREQUAL "")
    message(STATUS "Marking fonts: skipped, ${keystride_fonts_problem}; without the five "
        "typefaces the program marks errors in colour")
else()
    message(STATUS "Marking fonts: generated with ${keystride_fontforge_python}")
    set(KEYSTRIDE_MARKING_FONTS_BUILT ON)
    set(font_outputs)
    foreach(font IN LISTS KEYSTRIDE_MARKING_FONT_FILES)
        list(APPEND font_outputs ${KEYSTRIDE_FONT_BUILD_DIR}/${font})
    endforeach()
    list(APPEND font_outputs ${KEYSTRIDE_FONT_BUILD_DIR}/OFL.txt)
    add_custom_command(
        OUTPUT ${font_outputs}
        COMMAND ${keystride_fontforge_python} ${CMAKE_SOURCE_DIR}/scripts/make-marking-fonts.py
            --out-dir ${KEYSTRIDE_FONT_BUILD_DIR}
            --source-dir ${KEYSTRIDE_LIBERATION_DIR}
            --license ${CMAKE_SOURCE_DIR}/fonts/OFL.txt
            --font-version ${PROJECT_VERSION}
        DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-marking-fonts.py
            ${CMAKE_SOURCE_DIR}/fonts/OFL.txt
            ${KEYSTRIDE_LIBERATION_DIR}/LiberationMono-Regular.ttf
            ${KEYSTRIDE_LIBERATION_DIR}/LiberationMono-Bold.ttf
        COMMENT "Generating the marking typefaces Courier1, Courierraam, Courier2, Courier3, DoCourier"
        VERBATIM)
    add_custom_target(keystride_marking_fonts ALL DEPENDS ${font_outputs})
endif()

# ---------------------------------------------------------------------------------------------
# The program's files beside the built programs, so that a program run from build/bin finds
# "Settings", the help documents, "cdverify.avi" and fonts/ in its own folder.

# A new file in data/ (the help documents arrive later) re-runs the configuration.
file(GLOB keystride_data_present CONFIGURE_DEPENDS ${KEYSTRIDE_DATA_SOURCE_DIR}/*)

set(KEYSTRIDE_PROGRAM_DATA_FILES)
foreach(file Settings Speedhelp.RTF Spoedhelp.RTF cdverify.avi)
    if(EXISTS ${KEYSTRIDE_DATA_SOURCE_DIR}/${file})
        list(APPEND KEYSTRIDE_PROGRAM_DATA_FILES ${KEYSTRIDE_DATA_SOURCE_DIR}/${file})
    endif()
endforeach()

set(run_outputs)
foreach(source IN LISTS KEYSTRIDE_PROGRAM_DATA_FILES)
    get_filename_component(name ${source} NAME)
    add_custom_command(
        OUTPUT ${KEYSTRIDE_RUN_DIR}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${KEYSTRIDE_RUN_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${KEYSTRIDE_RUN_DIR}/${name}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND run_outputs ${KEYSTRIDE_RUN_DIR}/${name})
endforeach()
if(KEYSTRIDE_MARKING_FONTS_BUILT)
    foreach(font IN LISTS KEYSTRIDE_MARKING_FONT_FILES ITEMS OFL.txt)
        add_custom_command(
            OUTPUT ${KEYSTRIDE_RUN_DIR}/fonts/${font}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${KEYSTRIDE_RUN_DIR}/fonts
            COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${KEYSTRIDE_FONT_BUILD_DIR}/${font} ${KEYSTRIDE_RUN_DIR}/fonts/${font}
            DEPENDS ${KEYSTRIDE_FONT_BUILD_DIR}/${font}
            VERBATIM)
        list(APPEND run_outputs ${KEYSTRIDE_RUN_DIR}/fonts/${font})
    endforeach()
endif()
add_custom_target(keystride_program_files ALL DEPENDS ${run_outputs})
if(TARGET keystride_marking_fonts)
    add_dependencies(keystride_program_files keystride_marking_fonts)
endif()

# ---------------------------------------------------------------------------------------------
# Install rules: programs into bin, the program's files into share/vela-keystride, the fonts
# also where fontconfig finds them, the desktop entry and its icon.

foreach(program keystride keystride-class keystride-mark keystride-doc Docx2Rtf)
    if(TARGET ${program})
        get_target_property(program_type ${program} TYPE)
        if(program_type STREQUAL "EXECUTABLE")
            install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        endif()
    endif()
endforeach()

foreach(source IN LISTS KEYSTRIDE_PROGRAM_DATA_FILES)
    install(FILES ${source} DESTINATION ${KEYSTRIDE_INSTALL_DATA_DIR})
endforeach()
if(NOT EXISTS ${KEYSTRIDE_DATA_SOURCE_DIR}/cdverify.avi)
    # An animation made at build time is written beside the built programs.
    install(FILES ${KEYSTRIDE_RUN_DIR}/cdverify.avi DESTINATION ${KEYSTRIDE_INSTALL_DATA_DIR}
        OPTIONAL)
endif()

if(KEYSTRIDE_MARKING_FONTS_BUILT)
    set(font_files)
    foreach(font IN LISTS KEYSTRIDE_MARKING_FONT_FILES ITEMS OFL.txt)
        list(APPEND font_files ${KEYSTRIDE_FONT_BUILD_DIR}/${font})
    endforeach()
    install(FILES ${font_files} DESTINATION ${KEYSTRIDE_INSTALL_DATA_DIR}/fonts)
    install(FILES ${font_files} DESTINATION ${KEYSTRIDE_INSTALL_FONTCONFIG_DIR})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/vela-keystride.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
if(TARGET keystride-class)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/vela-keystride-class.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/vela-keystride.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/vela-keystride.svg
    DESTINATION ${KEYSTRIDE_INSTALL_DATA_DIR})

# ---------------------------------------------------------------------------------------------
# Debian package: cpack -G DEB (or `cmake --build <build> --target package`). docs/INSTALL.md
# explains the relations below.

set(KEYSTRIDE_PACKAGE_MAINTAINER "Vela Keystride project <keystride@vela-keystride.invalid>"
    CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")
set(keystride_package_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/vela-keystride)
set(keystride_package_files ${CMAKE_BINARY_DIR}/packaging)

# The copyright file in Debian's machine-readable form, with the typefaces' licence as the
# format wants it: each line indented by one blank, empty lines as " .".
file(READ ${CMAKE_SOURCE_DIR}/fonts/OFL.txt keystride_ofl)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fonts/OFL.txt)
string(FIND "${keystride_ofl}" "-----------------------" keystride_ofl_start)
string(SUBSTRING "${keystride_ofl}" ${keystride_ofl_start} -1 keystride_ofl)
string(STRIP "${keystride_ofl}" keystride_ofl)
string(REGEX REPLACE "[ \t]+\n" "\n" keystride_ofl "${keystride_ofl}")
string(REPLACE "\n" "\n " KEYSTRIDE_OFL_TEXT " ${keystride_ofl}")
string(REGEX REPLACE "\n \n" "\n .\n" KEYSTRIDE_OFL_TEXT "${KEYSTRIDE_OFL_TEXT}")
string(REGEX REPLACE "\n \n" "\n .\n" KEYSTRIDE_OFL_TEXT "${KEYSTRIDE_OFL_TEXT}")
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/copyright.in
    ${keystride_package_files}/copyright @ONLY)

# A native package's changelog: one entry for this version, dated by SOURCE_DATE_EPOCH when set,
# else by the last commit, so that the same sources give the same package.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE keystride_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE keystride_git_status ERROR_QUIET)
    if(keystride_git_status EQUAL 0 AND keystride_commit_time MATCHES "^[0-9]+$")
        set(ENV{SOURCE_DATE_EPOCH} ${keystride_commit_time})
        set(keystride_unset_epoch ON)
    endif()
endif()
string(TIMESTAMP KEYSTRIDE_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
if(keystride_unset_epoch)
    unset(ENV{SOURCE_DATE_EPOCH})
endif()
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog.in
    ${keystride_package_files}/changelog @ONLY)
find_program(KEYSTRIDE_GZIP gzip)
mark_as_advanced(KEYSTRIDE_GZIP)
if(KEYSTRIDE_GZIP)
    # -n leaves the name and time out of the header, which Debian wants of a package's files.
    execute_process(COMMAND ${KEYSTRIDE_GZIP} -9 -n -c ${keystride_package_files}/changelog
        OUTPUT_FILE ${keystride_package_files}/changelog.gz)
    install(FILES ${keystride_package_files}/changelog.gz DESTINATION ${keystride_package_doc_dir})
else()
    message(STATUS "Debian package: no gzip, so no changelog; lintian will refuse the package")
endif()
install(FILES ${keystride_package_files}/copyright DESTINATION ${keystride_package_doc_dir})

set(CPACK_PACKAGE_NAME vela-keystride)
set(CPACK_PACKAGE_VENDOR "Vela Keystride project")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Typing speed-test workbench for classrooms")
# Lines of at most 80 characters: Debian shows the description as written.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A teacher opens a source document, a learner types a copy of it against the\n"
    "clock, and the typed test is marked word by word: words per minute, words\n"
    "with errors, excess and doubled words and layout faults, each fault marked\n"
    "inside the typed text.")
set(CPACK_PACKAGE_CONTACT ${KEYSTRIDE_PACKAGE_MAINTAINER})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries of every program and module in the package, as dpkg-shlibdeps finds them;
# packaging/debian/cpack-checks.cmake refuses to build the package without it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/debian/cpack-checks.cmake)
# Not linked, but needed: fontconfig's trigger on /usr/share/fonts refreshes the system font
# cache when the marking typefaces arrive, so the window draws them from its first start.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig")
# The Writer with its windows and a desktop integration: the export (F11) opens it, and it
# converts ".docx", ".odt" and ".doc" without a window as well. The window-less Writer lacks
# Writer's user interface, so it is not offered as an alternative.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libreoffice-writer, libreoffice-gtk3 | libreoffice-kf5 | libreoffice-qt5")
# The About box's system information starts the first of these it finds.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "hardinfo | gnome-system-monitor")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
