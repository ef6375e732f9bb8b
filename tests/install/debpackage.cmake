# Packs the build as a Debian package and checks what a fan's apt would see:
# the file name, every file with its owner and mode, the control fields,
# binaries that still run once stripped, and lintian's verdict where it is
# installed.
cmake_minimum_required(VERSION 3.25)

function(must_run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed
        OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
    if(failed)
        message(FATAL_ERROR "${what} failed (${failed}):\n${stdout}${stderr}")
    endif()
    set(out "${stdout}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
must_run("cpack" "${CPACK}" -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${OUT}")
must_run("dpkg --print-architecture" dpkg --print-architecture)
string(STRIP "${out}" arch)
set(deb "${OUT}/penarin_${VERSION}_${arch}.deb")
if(NOT EXISTS "${deb}")
    file(GLOB made "${OUT}/*.deb")
    message(FATAL_ERROR "no ${deb}; cpack made: ${made}")
endif()

# Every file, with its mode and owner: nothing missing, nothing extra (no
# cache a trigger should write, nothing outside /usr), nothing writable
# by others.
set(id jp.penarin.Penarin)
set(expected
    "-rwxr-xr-x ./usr/bin/penarin"
    "-rwxr-xr-x ./usr/bin/penarin-report"
    "-rw-r--r-- ./usr/share/applications/${id}.desktop"
    "-rw-r--r-- ./usr/share/doc/penarin/changelog.gz"
    "-rw-r--r-- ./usr/share/doc/penarin/copyright"
    "-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/${id}.svg"
    "-rw-r--r-- ./usr/share/man/man1/penarin.1.gz"
    "-rw-r--r-- ./usr/share/man/man1/penarin-report.1.gz"
    "-rw-r--r-- ./usr/share/metainfo/${id}.metainfo.xml"
    "-rw-r--r-- ./usr/share/mime/packages/${id}.xml"
    "-rw-r--r-- ./usr/share/penarin/Mgcsm.html")
foreach(size 16 32 48 64 128 256)
    list(APPEND expected "-rw-r--r-- ./usr/share/icons/hicolor/${size}x${size}/apps/${id}.png")
endforeach()
must_run("dpkg-deb --contents" "${DPKG_DEB}" --contents "${deb}")
string(REPLACE "\n" ";" lines "${out}")
set(files)
foreach(line ${lines})
    if(NOT line MATCHES "^([-dl][rwxsStT-]+) ([^ ]+) +[0-9]+ [-0-9]+ [:0-9]+ (.*)$")
        continue()
    endif()
    set(mode "${CMAKE_MATCH_1}")
    set(owner "${CMAKE_MATCH_2}")
    set(path "${CMAKE_MATCH_3}")
    if(NOT owner STREQUAL "root/root")
        message(FATAL_ERROR "${path} belongs to ${owner}")
    endif()
    if(mode MATCHES "^d")
        if(NOT mode STREQUAL "drwxr-xr-x")
            message(FATAL_ERROR "folder ${path} has mode ${mode}")
        endif()
    else()
        list(APPEND files "${mode} ${path}")
    endif()
endforeach()
list(SORT files)
list(SORT expected)
if(NOT files STREQUAL expected)
    string(REPLACE ";" "\n  " files "${files}")
    string(REPLACE ";" "\n  " expected "${expected}")
    message(FATAL_ERROR "the package holds\n  ${files}\ninstead of\n  ${expected}")
endif()

must_run("dpkg-deb --info" "${DPKG_DEB}" --info "${deb}")
set(control "${out}")
foreach(field "Package: penarin" "Version: ${VERSION}" "Architecture: ${arch}"
        "Section: misc" "Priority: optional")
    string(FIND "${control}" "\n ${field}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the control file lacks \"${field}\":\n${control}")
    endif()
endforeach()
if(NOT control MATCHES "\n Maintainer: [^\n<]+ <[^\n@]+@[^\n>]+>\n")
    message(FATAL_ERROR "no maintainer with an address:\n${control}")
endif()
# The extended description speaks English and Japanese.
foreach(phrase "follow a baseball pennant race" "\n  Penarin keeps one file per season"
        "\n  ペナリンはプロ野球のペナントレースを追うプログラムです。")
    string(FIND "${control}" "${phrase}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the description lacks \"${phrase}\":\n${control}")
    endif()
endforeach()
# dpkg-shlibdeps found the libraries the binaries link, never a build-only
# package; the translations and the font are named by hand.
if(NOT control MATCHES "\n Depends: ([^\n]*)\n")
    message(FATAL_ERROR "no Depends line:\n${control}")
endif()
set(depends "${CMAKE_MATCH_1}")
foreach(package "libc6 \\(>= " "libstdc\\+\\+6 \\(>= " "libqt6core6 \\(>= "
        "libqt6gui6 \\(>= " "libqt6widgets6 \\(>= " "libqt6svg6 \\(>= " "libglpk[0-9]+ \\(>= "
        "qt6-translations-l10n")
    if(NOT depends MATCHES "(^|, )${package}")
        message(FATAL_ERROR "Depends lacks ${package}: ${depends}")
    endif()
endforeach()
if(depends MATCHES "-dev[ ,]|-dev$|libgtest|libbenchmark")
    message(FATAL_ERROR "Depends names a build-only package: ${depends}")
endif()
if(NOT control MATCHES "\n Recommends: fonts-noto-cjk")
    message(FATAL_ERROR "no CJK font recommended:\n${control}")
endif()

# The stripped report command still runs, from the package's own files.
must_run("dpkg-deb --extract" "${DPKG_DEB}" --extract "${deb}" "${OUT}/root")
must_run("packaged penarin-report" "${OUT}/root/usr/bin/penarin-report" show "${SAMPLE}")
if(NOT out MATCHES "\n")
    message(FATAL_ERROR "the packaged penarin-report printed nothing")
endif()

if(LINTIAN)
    must_run("lintian" "${LINTIAN}" --fail-on error "${deb}")
endif()
