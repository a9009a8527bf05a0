# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the program's core stands without windows (ctest runs it as jadro_bez_oken):
#  - no file under core/ includes a header of app/, components/, the platform's window part
#    (platform/okna/), the updater's window (updater/fMain.h) or Qt Widgets;
#  - the given programs, which link the core alone (its tests), load no Qt Widgets library.
#   cmake -DKOREN=<source folder> -DHLAVICKY_QT_WIDGETS=<Qt Widgets header folder>
#         -DPROGRAMY=<program>|<program>... -P tools/KontrolaJadra.cmake
cmake_minimum_required(VERSION 3.22)

foreach(promenna KOREN HLAVICKY_QT_WIDGETS PROGRAMY)
    if(NOT DEFINED ${promenna} OR "${${promenna}}" STREQUAL "")
        message(FATAL_ERROR "KontrolaJadra.cmake: ${promenna} is not set")
    endif()
endforeach()

# The headers no file of the core may include, by their names.
set(zakazane "")
foreach(vzor "${KOREN}/app/*.h" "${KOREN}/components/*.h" "${KOREN}/platform/okna/*.h"
        "${KOREN}/updater/fMain.h" "${HLAVICKY_QT_WIDGETS}/*")
    file(GLOB soubory "${vzor}")
    foreach(s IN LISTS soubory)
        get_filename_component(jmeno "${s}" NAME)
        list(APPEND zakazane "${jmeno}")
    endforeach()
endforeach()
if(NOT "QWidget" IN_LIST zakazane OR NOT "fMain.h" IN_LIST zakazane)
    message(FATAL_ERROR "KontrolaJadra.cmake: the window headers were not found")
endif()

set(chyby "")
file(GLOB_RECURSE zdroje "${KOREN}/core/*.h" "${KOREN}/core/*.cpp")
foreach(zdroj IN LISTS zdroje)
    file(STRINGS "${zdroj}" radky REGEX "^[ \t]*#[ \t]*include")
    foreach(radek IN LISTS radky)
        if(NOT radek MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
            continue()
        endif()
        set(hlavicka "${CMAKE_MATCH_1}")
        get_filename_component(jmeno "${hlavicka}" NAME)
        if(hlavicka MATCHES "(^|/)QtWidgets/" OR jmeno IN_LIST zakazane)
            file(RELATIVE_PATH kde "${KOREN}" "${zdroj}")
            list(APPEND chyby "${kde} includes ${hlavicka}, a window's header")
        endif()
    endforeach()
endforeach()

string(REPLACE "|" ";" programy "${PROGRAMY}")
foreach(program IN LISTS programy)
    if(program STREQUAL "")
        continue()
    endif()
    # A static Windows program loads no library; the configuration refuses a core that links
    # Qt Widgets (cmake/JadroBezOken.cmake).
    if(program MATCHES "\\.exe$")
        continue()
    endif()
    execute_process(COMMAND ldd "${program}" OUTPUT_VARIABLE knihovny RESULT_VARIABLE kod)
    if(NOT kod EQUAL 0)
        list(APPEND chyby "ldd cannot read ${program}")
    elseif(knihovny MATCHES "libQt6Widgets")
        list(APPEND chyby "${program} links Qt Widgets")
    endif()
endforeach()

if(chyby)
    list(JOIN chyby "\n" text)
    message(FATAL_ERROR "The core needs windows:\n${text}")
endif()
list(LENGTH zdroje pocet)
message(STATUS "The core's ${pocet} files include no window's header; its tests load no Qt Widgets.")
