# cmake -DBUILD=<build folder> -DSOURCE=<source folder> -P check_widgets_below.cmake
# The include check, run on a library without widgets made up for the test: its sources include a
# QtWidgets header, declare QtWidgets classes, and (the third) use only what a core may. The check
# must refuse exactly the first two, with the QtWidgets class list the build itself found.
file(STRINGS ${BUILD}/layers/manifest.txt lines)
set(manifest "")
foreach(line ${lines})
    if(line MATCHES "^(headers|widgets)\\|")
        string(APPEND manifest "${line}\n")
    endif()
endforeach()
set(data ${SOURCE}/tests/data/layers)
string(APPEND manifest
       "target|fake_core|1|${data}/widget_include.txt,${data}/widget_declaration.txt,${data}/plain_core.txt||end\n")
set(fakeManifest ${BUILD}/layers/widgets_below_test.txt)
file(WRITE ${fakeManifest} "${manifest}")
execute_process(COMMAND ${CMAKE_COMMAND} -DMANIFEST=${fakeManifest} -P ${SOURCE}/cmake/CheckLayerIncludes.cmake
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(expected
    "widget_include.txt: fake_core has no widgets but includes <QWidget>"
    "widget_declaration.txt: fake_core has no widgets but declares QDialog"
    "widget_declaration.txt: fake_core has no widgets but declares QMainWindow")
set(failures "")
if(result EQUAL 0)
    list(APPEND failures "the check passed")
endif()
foreach(error ${expected})
    string(FIND "${output}" "${error}" at)
    if(at LESS 0)
        list(APPEND failures "missing: ${error}")
    endif()
endforeach()
foreach(innocent "plain_core.txt" "declares QString" "includes <QString>")
    string(FIND "${output}" "${innocent}" at)
    if(at GREATER_EQUAL 0)
        list(APPEND failures "refused what a core may use: ${innocent}")
    endif()
endforeach()
if(failures)
    string(REPLACE ";" "\n  " text "${failures}")
    message(FATAL_ERROR "${text}\nThe check said:\n${output}")
endif()
