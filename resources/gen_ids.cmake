# Writes the header of panel and control identities from the panel
# definitions. Run as: cmake -DOUT=<header> -DUI_FILES=<a.ui;b.ui> -P gen_ids.cmake
#
# Rule (the panel loader follows the same one): the top-level widget's
# object name is the panel's name and its `resource` property the panel's
# resource number; every widget that carries a `kind` property is a
# control, numbered from 1 in document order within its panel.
# CMake strings have no hex escapes; the chunk marker is the control character 1.
string(ASCII 1 mark)
set(lines "// Generated from the panel definitions by gen_ids.cmake; do not edit.\n#pragma once\n\n")
foreach(ui ${UI_FILES})
  file(READ ${ui} text)
  # Characters that mean something to CMake lists are of no interest here;
  # blank them so that style sheets and the like cannot upset the split.
  string(REPLACE ";" " " text "${text}")
  string(REPLACE "[" " " text "${text}")
  string(REPLACE "]" " " text "${text}")
  string(REPLACE "\\" " " text "${text}")
  string(REPLACE "<widget " "${mark}" text "${text}")
  string(REPLACE "${mark}" ";${mark}" text "${text}")
  set(chunks ${text})
  set(first TRUE)
  set(id 0)
  set(pname "")
  foreach(chunk IN LISTS chunks)
    if(NOT chunk MATCHES "^${mark}")
      continue()
    endif()
    string(REGEX MATCH "name=\"([A-Za-z0-9_]+)\"" m "${chunk}")
    set(wname ${CMAKE_MATCH_1})
    if(first)
      set(first FALSE)
      set(pname ${wname})
      string(REGEX MATCH "<property name=\"resource\"[^>]*>[ \t\r\n]*<number>([0-9]+)</number>" m "${chunk}")
      if(NOT m)
        message(FATAL_ERROR "${ui}: top-level widget has no resource property")
      endif()
      string(APPEND lines "// ${ui}\nconstexpr int ${pname} = ${CMAKE_MATCH_1};\n")
    elseif(chunk MATCHES "<property name=\"kind\"")
      math(EXPR id "${id} + 1")
      string(TOUPPER "${pname}_${wname}" cname)
      string(APPEND lines "constexpr int ${cname} = ${id};\n")
    endif()
  endforeach()
  string(APPEND lines "\n")
endforeach()
# Only touch the header when it changes, so dependants do not rebuild.
if(EXISTS ${OUT})
  file(READ ${OUT} old)
else()
  set(old "")
endif()
if(NOT old STREQUAL lines)
  file(WRITE ${OUT} "${lines}")
endif()
