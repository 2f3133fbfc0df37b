# Makes the served page from web/index.html: the page's own scripts in its body (those kept in
# web/) go into one file, page.js, in the order the page lists them, so the browser fetches one
# script instead of a score of them before the engine can start. Scripts from elsewhere (the
# synthesizer) stay as they are. The page's scripts in the head are written into the page
# itself: they start the engine's fetches and open the records' database, and a script file
# would hold the page's parsing until it came. Every page script opens with 'use strict', so the bundle is strict throughout, as each
# file was.
#
# cmake -DSOURCE=<web folder> -DOUTPUT=<page folder> -P bundle_page.cmake
file(READ "${SOURCE}/index.html" page)
string(FIND "${page}" "<body>" body_at)
string(SUBSTRING "${page}" 0 ${body_at} head)
string(SUBSTRING "${page}" ${body_at} -1 body)
string(REGEX MATCHALL "<script src=\"[^\"]+\"></script>\n" tags "${body}")
set(bundle "")
set(first_tag "")
foreach(tag ${tags})
    string(REGEX REPLACE "<script src=\"([^\"]+)\"></script>\n" "\\1" name "${tag}")
    if(NOT EXISTS "${SOURCE}/${name}")
        continue()
    endif()
    file(READ "${SOURCE}/${name}" script)
    string(APPEND bundle "// ${name}\n${script}\n")
    if(first_tag STREQUAL "")
        set(first_tag "${tag}")
        string(REPLACE "${tag}" "<script src=\"page.js\"></script>\n" body "${body}")
    else()
        string(REPLACE "${tag}" "" body "${body}")
    endif()
endforeach()
string(REGEX MATCHALL "<script src=\"[^\"]+\"></script>" head_tags "${head}")
foreach(tag ${head_tags})
    string(REGEX REPLACE "<script src=\"([^\"]+)\"></script>" "\\1" name "${tag}")
    if(EXISTS "${SOURCE}/${name}")
        file(READ "${SOURCE}/${name}" script)
        string(REPLACE "${tag}" "<script>\n${script}</script>" head "${head}")
    endif()
endforeach()
file(WRITE "${OUTPUT}/page.js" "${bundle}")
file(WRITE "${OUTPUT}/index.html" "${head}${body}")
