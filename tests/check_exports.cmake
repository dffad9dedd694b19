cmake_minimum_required(VERSION 3.25)
# Checks VLRun32.dll's export table and import list with objdump -p: exactly
# the expected names at their ordinals, and only system DLLs imported.
set(expected
  RunProcess:1 UnquoteString:2 GetResourceMacro:3 RunAssociatedFile:4 PutIniW:5 SaveConfigFile:6
  SaveDictionaryFile:7 GetFileName:8 GetFileNameOnly:9 VLWGetTempPath:10 VLWGetTempFilename:11 wDebug:12
  ProCheckTXA:13 ReporterSelectLayout:14 UsingLargeFonts:15 GetCSIDL:16)
set(allowed_imports KERNEL32.DLL USER32.DLL GDI32.DLL SHELL32.DLL MSVCRT.DLL)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

# The ordinal base, then one "\t[   N] Name" line per named export (N is the
# ordinal less the base) and one "+base[ ordinal]" line per address.
string(REGEX MATCH "Ordinal Base ([0-9]+)" _ "${dump}")
set(base ${CMAKE_MATCH_1})
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" names "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [A-Za-z0-9_@]+" lines "${names}")
set(found)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "\\[ *([0-9]+)\\] ([A-Za-z0-9_@]+)" "\\1;\\2" pair "${line}")
  list(GET pair 0 index)
  list(GET pair 1 name)
  math(EXPR ordinal "${index} + ${base}")
  list(APPEND found "${name}:${ordinal}")
endforeach()
string(REGEX MATCHALL "\\+base" addresses "${dump}")
list(LENGTH addresses address_count)
list(LENGTH expected expected_count)
if(NOT address_count EQUAL expected_count)
  message(FATAL_ERROR "${address_count} addresses exported, ${expected_count} expected")
endif()
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "exports differ\n  expected: ${expected}\n  found:    ${found}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" name "${line}")
  string(TOUPPER "${name}" name)
  if(NOT name IN_LIST allowed_imports)
    message(FATAL_ERROR "VLRun32.dll imports ${name}, which is not a system DLL")
  endif()
endforeach()
message(STATUS "exports: ${found}")
