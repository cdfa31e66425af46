# The README's pictures: one for every window a newcomer meets, taken from the real program
# by the end-to-end tests. Checks that FOLDER holds each of them as a PNG; with FROM (the
# build's screenshots folder), copies them from there first.
# Usage: cmake -DFOLDER=docs/screenshots [-DFROM=<build>/screenshots] -P screenshots.cmake
set(pictures
    search-window
    options-page
    engines-page
    destinations-page
    about-page
    file-order-dialog
    tour-bar
    destinations-menu
    tray-menu
)
if(FROM)
    file(MAKE_DIRECTORY ${FOLDER})
    foreach(name IN LISTS pictures)
        if(EXISTS ${FROM}/${name}.png)
            file(COPY ${FROM}/${name}.png DESTINATION ${FOLDER})
        endif()
    endforeach()
endif()
set(missing)
foreach(name IN LISTS pictures)
    set(png ${FOLDER}/${name}.png)
    set(signature "")
    if(EXISTS ${png})
        file(READ ${png} signature LIMIT 8 HEX)
    endif()
    if(NOT signature STREQUAL "89504e470d0a1a0a")
        list(APPEND missing ${name}.png)
    endif()
endforeach()
if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "no picture in ${FOLDER} of: ${missing}\nRun scripts/screenshots.sh.")
endif()
message(STATUS "all pictures in ${FOLDER}")
