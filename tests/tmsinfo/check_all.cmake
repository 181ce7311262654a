# Runs "tmsinfo all --json" as a script would and checks the report: valid
# JSON with every fact and nothing else, the library's version, a day number, and
# the exit code that matches the failures it lists.
#   -DTMSINFO=path [-DRUNNER=wine-run.sh] -DEXPECT_OS=1|0
# EXPECT_OS=1: the OS name must be read (Windows); 0: it must fail (Linux).
execute_process(COMMAND ${RUNNER} ${TMSINFO} all --json
  OUTPUT_VARIABLE report ERROR_VARIABLE errors RESULT_VARIABLE exit_code)
message(STATUS "exit code ${exit_code}\n${report}${errors}")

string(JSON member_count ERROR_VARIABLE json_error LENGTH "${report}")
if(json_error)
  message(FATAL_ERROR "not JSON: ${json_error}")
endif()
# The facts of tools/tmsinfo/command_all.cpp (kFacts), then failures. CMake's
# JSON reader lists members sorted, so the order is not checked.
set(expected_keys libraryVersion osName osNameShort dayNumber music video colorPicker failures)
list(SORT expected_keys)
set(keys "")
math(EXPR last "${member_count} - 1")
foreach(index RANGE ${last})
  string(JSON key MEMBER "${report}" ${index})
  list(APPEND keys ${key})
endforeach()
list(SORT keys)
if(NOT keys STREQUAL expected_keys)
  message(FATAL_ERROR "members: ${keys}\nexpected: ${expected_keys}")
endif()

string(JSON version GET "${report}" libraryVersion)
string(JSON day_type TYPE "${report}" dayNumber)
string(JSON day GET "${report}" dayNumber)
string(JSON os_name GET "${report}" osName)
string(JSON failure_count LENGTH "${report}" failures)
if(NOT version STREQUAL "1.0.10")
  message(FATAL_ERROR "libraryVersion ${version}")
endif()
# 9000 is a day in 2025; the machine's clock is later than that.
if(NOT day_type STREQUAL "NUMBER" OR day LESS 9000)
  message(FATAL_ERROR "dayNumber ${day} (${day_type})")
endif()
if(EXPECT_OS)
  if(NOT os_name MATCHES "^Microsoft Windows " OR NOT failure_count EQUAL 0 OR NOT exit_code EQUAL 0)
    message(FATAL_ERROR "expected an OS name, no failures and exit code 0")
  endif()
else()
  string(JSON os_failure GET "${report}" failures osName)
  if(NOT os_name STREQUAL "Unknown OS" OR NOT failure_count EQUAL 2 OR NOT exit_code EQUAL 1)
    message(FATAL_ERROR "expected \"Unknown OS\", two failures and exit code 1")
  endif()
endif()
