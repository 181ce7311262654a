# Builds the DLL once more from a copy of the sources at another path, at
# another time, and compares the two files byte for byte: neither the link
# time nor the folders of the build may show in the DLL.
#
# SOURCE_DIR, WORK_DIR (emptied first), GENERATOR, TOOLCHAIN (the tool chain
# file, inside SOURCE_DIR), BUILD_TYPE, DLL (the build's own DLL).
file(REMOVE_RECURSE ${WORK_DIR})
set(copy ${WORK_DIR}/another-source-tree)
file(COPY ${SOURCE_DIR}/ DESTINATION ${copy} REGEX "/(build|\\.git)$" EXCLUDE)
file(RELATIVE_PATH toolchain ${SOURCE_DIR} ${TOOLCHAIN})

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${copy} -B ${WORK_DIR}/another-build -G ${GENERATOR}
          -DCMAKE_TOOLCHAIN_FILE=${copy}/${toolchain} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
          -DTMS_BUILD_TESTS=OFF
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the copy failed:\n${output}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/another-build --target TolvaricModeSupport
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the copy failed:\n${output}")
endif()

get_filename_component(dll_name ${DLL} NAME)
set(other ${WORK_DIR}/another-build/${dll_name})
file(SHA256 ${DLL} expected)
file(SHA256 ${other} actual)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "the DLL differs between two builds of the same sources:\n"
                      "  ${DLL}: ${expected}\n  ${other}: ${actual}")
endif()
message(STATUS "${dll_name} is byte-identical when built from ${copy}: ${actual}")
file(REMOVE_RECURSE ${WORK_DIR})
