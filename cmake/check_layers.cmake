# Checks that every source file under src/ includes only what its folder may
# use, so that a wrong include fails the build with a message naming it.
#
#   cmake -DSOURCE_DIR=<repository> -P cmake/check_layers.cmake
#
# The layers, from the bottom: core; platform; archive; the subsystems (script,
# graphics, text, sound, save, screens, extras) and shell, which coordinates
# them; the backends, each on its own; app on top.

set(engine core platform archive script graphics text sound save screens extras shell)
set(allowed_core core)
set(allowed_platform core platform)
set(allowed_archive core archive)
foreach(dir script graphics text sound save screens extras shell)
    set(allowed_${dir} ${engine})
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" dir "${source}")
    if(dir STREQUAL "app")
        continue() # the program may use everything
    endif()
    if(dir STREQUAL "backends")
        string(REGEX MATCH "^backends/[^/]+" own "${source}")
        set(allowed ${engine} ${own})
    elseif(DEFINED allowed_${dir})
        set(allowed ${allowed_${dir}})
    else()
        list(APPEND faults "src/${source}: the folder '${dir}' has no place in the layers (cmake/check_layers.cmake)")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/src/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" target "${line}")
        if(NOT target MATCHES "/")
            continue() # a file beside it
        endif()
        string(REGEX MATCH "^[^/]+" target_dir "${target}")
        if(target_dir STREQUAL "backends")
            string(REGEX MATCH "^backends/[^/]+" target_dir "${target}")
        endif()
        list(FIND allowed "${target_dir}" found)
        if(found EQUAL -1)
            list(JOIN allowed ", " allowed_text)
            list(APPEND faults "src/${source}: includes \"${target}\", but ${dir}/ may use only ${allowed_text}")
        endif()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Layer check failed:\n  ${text}\n")
endif()
