# Runs a program that reads through a null pointer and checks that Wine ends
# it promptly, with a non-zero exit status and the address of the fault in
# its output, rather than leaving it waiting for a crash debugger.
#   -DRUNNER=wine-run.sh -DPROGRAM=path [-DLIMIT=seconds]
if(NOT LIMIT)
  set(LIMIT 40)
endif()
string(TIMESTAMP started "%s")
execute_process(COMMAND ${RUNNER} ${PROGRAM} TIMEOUT ${LIMIT}
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE exit_status)
string(TIMESTAMP ended "%s")
math(EXPR seconds "${ended} - ${started}")
message(STATUS "exit status ${exit_status} after about ${seconds} s\n${output}")

if(NOT exit_status MATCHES "^[0-9]+$")
  message(FATAL_ERROR "the program did not end within ${LIMIT} s: ${exit_status}")
endif()
if(exit_status EQUAL 0)
  message(FATAL_ERROR "the crash ended with exit status 0")
endif()
if(NOT output MATCHES "Unhandled page fault on read access to 0+ at address [0-9A-Fa-f]+")
  message(FATAL_ERROR "no \"Unhandled page fault ... at address\" line in the output")
endif()
