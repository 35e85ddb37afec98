# cmake -DTO=<folder> -P HelpPages.cmake <page>...: copies the help pages into <folder>, their
# pictures taken from the folder above them ("../logo.svg") instead of the program's resources
# ("qrc:/logo.svg"), so that a browser shows them from the installed documents.
file(MAKE_DIRECTORY ${TO})
file(GLOB old ${TO}/*.html)
if(old)
    file(REMOVE ${old})
endif()
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 4 ${last})
    set(page ${CMAKE_ARGV${i}})
    file(READ ${page} text)
    string(REPLACE "\"qrc:/" "\"../" text "${text}")
    get_filename_component(name ${page} NAME)
    file(WRITE ${TO}/${name} "${text}")
endforeach()
