# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build (tools/windows.sh; cmake/ToolchainWindows.cmake): every program is one
# static file that needs no DLL beside it, and ctest runs every test under Wine.

# Debian's rcc compresses with zstd, which the Windows Qt is built without.
set(CMAKE_AUTORCC_OPTIONS --no-zstd)
# The C and C++ runtimes go into each program; without debugging data the programs are a half
# of their size (the program carries the updater inside).
add_link_options(-static -s)

# The static libzip needs Windows' crypto and zlib, which pkg-config lists as private libraries
# and CMake's imported target leaves out.
target_link_libraries(PkgConfig::LIBZIP INTERFACE bcrypt advapi32 z)

# Every program of the directory and those below it.
function(parmex_windows_programy slozka vysledek)
    get_property(cile DIRECTORY ${slozka} PROPERTY BUILDSYSTEM_TARGETS)
    set(programy "")
    foreach(cil IN LISTS cile)
        get_target_property(typ ${cil} TYPE)
        if(typ STREQUAL "EXECUTABLE")
            list(APPEND programy ${cil})
        endif()
    endforeach()
    get_property(podslozky DIRECTORY ${slozka} PROPERTY SUBDIRECTORIES)
    foreach(podslozka IN LISTS podslozky)
        parmex_windows_programy(${podslozka} dalsi)
        list(APPEND programy ${dalsi})
    endforeach()
    set(${vysledek} ${programy} PARENT_SCOPE)
endfunction()

# A static Qt brings the windows platform by itself; the offscreen one (tests, runs without a
# display) and the Vista style are added to every program.
function(parmex_windows_pluginy)
    parmex_windows_programy(${PROJECT_SOURCE_DIR} programy)
    foreach(program IN LISTS programy)
        qt_import_plugins(${program}
            INCLUDE Qt6::QOffscreenIntegrationPlugin Qt6::QWindowsVistaStylePlugin)
    endforeach()
    # The two programs have windows and no console.
    set_target_properties(ParmexRozu Obnovnik PROPERTIES WIN32_EXECUTABLE ON)
endfunction()

# Called at the end of tests/CMakeLists.txt, for its tests.
# Wine runs the tests in a prefix of the build folder, made by the first test (wine_prefix);
# Qt's variables reach a Windows program only spelled WINEQT_...; Qt Test writes to the error
# output, which Wine passes on, instead of the debugger channel.
function(parmex_windows_testy)
    set(prefix "${CMAKE_BINARY_DIR}/wine")
    set(wine_prostredi
        "WINEPREFIX=${prefix}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
        "WINEQT_FORCE_STDERR_LOGGING=1" "WINEQT_QPA_FONTDIR=Z:\\usr\\share\\fonts\\truetype\\dejavu")
    # The server stays a while after the last program: each test then starts in 0.2 s, not 0.8 s.
    add_test(NAME wine_prefix COMMAND ${CMAKE_COMMAND} -E env ${wine_prostredi}
        sh -c "wineboot -i; wineserver -p 60; test -f \"$WINEPREFIX/system.reg\"")
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
    get_property(testy DIRECTORY PROPERTY TESTS)
    foreach(test IN LISTS testy)
        if(test STREQUAL "wine_prefix")
            continue()
        endif()
        get_test_property(${test} ENVIRONMENT prostredi)
        if(NOT prostredi)
            set(prostredi "")
        endif()
        list(TRANSFORM prostredi REPLACE "^QT_" "WINEQT_")
        list(APPEND prostredi ${wine_prostredi})
        set_tests_properties(${test} PROPERTIES ENVIRONMENT "${prostredi}" FIXTURES_REQUIRED wine)
        # Not under Wine: the *_x11 tests are about the X11 desktop itself (window manager hints,
        # the desktop's button order, key auto-repeat), which a Windows program never meets.
        # (tst_instalace, the Linux release archive's shell installer and dpkg, is not built.)
        if(test MATCHES "_x11$")
            set_tests_properties(${test} PROPERTIES DISABLED TRUE)
        endif()
    endforeach()
endfunction()
