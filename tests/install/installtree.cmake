# Installs the build into PREFIX and checks what a desktop reads there: the
# files, their agreement with one another, and the verdict of the validators.
cmake_minimum_required(VERSION 3.25)

set(id jp.penarin.Penarin)
set(type application/x-penarin-season)

foreach(tool desktop_file_validate appstreamcli update_mime_database xmllint gio)
    if(NOT ${tool})
        message(FATAL_ERROR "${tool} is missing: run scripts/install-deps.sh")
    endif()
endforeach()

# Runs a command that must succeed; its output is left in `out`.
function(must_run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed
        OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
    if(failed)
        message(FATAL_ERROR "${what} failed (${failed}):\n${stdout}${stderr}")
    endif()
    set(out "${stdout}${stderr}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
# A package build stages with DESTDIR; this run installs straight into the
# prefix, so the desktop caches must be refreshed by the install itself.
set(ENV{DESTDIR} "")
must_run("cmake --install" "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}")

set(bin "${PREFIX}/${BINDIR}")
set(share "${PREFIX}/${DATADIR}")
set(desktop "${share}/applications/${id}.desktop")
set(metainfo "${share}/metainfo/${id}.metainfo.xml")
set(mime "${share}/mime/packages/${id}.xml")
set(expected
    "${bin}/penarin" "${bin}/penarin-report" "${desktop}" "${metainfo}" "${mime}"
    "${share}/icons/hicolor/scalable/apps/${id}.svg"
    # Where the program looks for its guide, seen from its own folder.
    "${bin}/${HELP_FROM_PROGRAM}/Mgcsm.html")
foreach(file ${expected})
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# Each PNG must really be the size its folder promises; the header holds the
# width and height as 32-bit big-endian numbers from byte 16.
foreach(size 16 32 48 64 128 256)
    set(png "${share}/icons/hicolor/${size}x${size}/apps/${id}.png")
    if(NOT EXISTS "${png}")
        message(FATAL_ERROR "not installed: ${png}")
    endif()
    file(READ "${png}" header LIMIT 24 HEX)
    math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" hex "${hex}")
    string(LENGTH "${hex}" digits)
    math(EXPR pad "8 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    set(dimension "${zeros}${hex}")
    if(NOT header MATCHES "^89504e470d0a1a0a........49484452${dimension}${dimension}$")
        message(FATAL_ERROR "${png} is not a ${size}x${size} PNG: ${header}")
    endif()
endforeach()

# The launcher must start the installed program with the chosen file, show
# the installed icon and claim the installed file type.
file(STRINGS "${desktop}" entry ENCODING UTF-8)
foreach(line "Exec=penarin %f" "Icon=${id}" "MimeType=${type};" "Name[ja]=ペナリン")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "${desktop} lacks \"${line}\"")
    endif()
endforeach()

must_run("desktop-file-validate" "${desktop_file_validate}" "${desktop}")
if(NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate complains:\n${out}")
endif()
# validate-tree also checks that the launchable desktop entry is installed.
must_run("appstreamcli validate-tree" "${appstreamcli}" validate-tree --no-net "${PREFIX}")
must_run("appstreamcli validate" "${appstreamcli}" validate --no-net "${metainfo}")
file(READ "${metainfo}" catalogue)
foreach(part "<release version=\"${VERSION}\"" "<mediatype>${type}</mediatype>"
        "<launchable type=\"desktop-id\">${id}.desktop</launchable>")
    string(FIND "${catalogue}" "${part}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${metainfo} lacks ${part}")
    endif()
endforeach()

must_run("xmllint" "${xmllint}" --noout "${mime}" "${metainfo}")

# The install refreshed the MIME database; a desktop looking in this prefix
# only must know a season file by its name and, without one, by its content.
file(STRINGS "${share}/mime/globs2" globs)
if(NOT "50:${type}:*.ptr" IN_LIST globs)
    message(FATAL_ERROR "the MIME database lacks *.ptr: ${globs}")
endif()
set(probe "${PREFIX}/probe")
file(MAKE_DIRECTORY "${probe}")
file(COPY_FILE "${SAMPLE}" "${probe}/season.ptr")
file(COPY_FILE "${SAMPLE}" "${probe}/season")
file(WRITE "${probe}/other.bin" "not a season")
set(ENV{XDG_DATA_HOME} "${probe}/nowhere")
set(ENV{XDG_DATA_DIRS} "${share}")
foreach(name season.ptr season other.bin)
    must_run("gio info" "${gio}" info -a standard::content-type "${probe}/${name}")
    string(FIND "${out}" "content-type: ${type}" at)
    if(name STREQUAL "other.bin")
        if(NOT at EQUAL -1)
            message(FATAL_ERROR "a file of other bytes was taken for a season:\n${out}")
        endif()
    elseif(at EQUAL -1)
        message(FATAL_ERROR "${name} is not recognised as a season:\n${out}")
    endif()
endforeach()

# The installed report command runs on its own, away from the build tree.
must_run("installed penarin-report" "${bin}/penarin-report" show "${SAMPLE}")

# Both programs name the build's version, the desktop one without a display.
set(ENV{DISPLAY} "")
set(ENV{WAYLAND_DISPLAY} "")
set(ENV{QT_QPA_PLATFORM} "")
foreach(program penarin penarin-report)
    must_run("${program} --version" "${bin}/${program}" --version)
    if(NOT out STREQUAL "${program} ${VERSION}\n")
        message(FATAL_ERROR "${program} --version says \"${out}\"")
    endif()
endforeach()
