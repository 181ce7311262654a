# Optional tools: the library, the DLLs and tmsinfo need only CMake and the
# compilers. A target that needs more reports a missing tool in one status
# line and is left out, unless TMS_REQUIRE_ALL_TOOLS is on (the test
# command), where a missing tool is an error rather than a silent skip.
# Usage: tms_tool_missing("Free Pascal (fpc)" "the Pascal unit's test")
function(tms_tool_missing tool what)
  if(TMS_REQUIRE_ALL_TOOLS)
    message(FATAL_ERROR "${tool} not found; ${what} needs it (TMS_REQUIRE_ALL_TOOLS is on)")
  else()
    message(STATUS "${tool} not found: ${what} skipped")
  endif()
endfunction()
