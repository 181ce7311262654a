# Package configuration for CMake hosts, installed into the release as
# lib/cmake/TolvaricModeSupport/. A host writes
#   find_package(TolvaricModeSupport 1.0 CONFIG REQUIRED)
#   target_link_libraries(host PRIVATE TolvaricModeSupport::TolvaricModeSupport)
# with CMAKE_PREFIX_PATH naming the unpacked release folder.
#
# One file serves both builds in the release: the host's pointer size picks
# the DLL (bin/ or bin64/), and its tool chain picks the import library
# (the MinGW one, or the Visual C++ one for cl, clang-cl and Clang aimed at
# the Visual C++ ABI, whose linkers expect that form). The release folder is
# found from this file's own place, so it may be unpacked anywhere.

if(TARGET TolvaricModeSupport::TolvaricModeSupport)
  # Found before in this directory: the target is already there.
  set(TolvaricModeSupport_FOUND TRUE)
  return()
endif()

get_filename_component(_tms_root "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
set(_tms_error "")

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  string(CONCAT _tms_error "the release holds Windows DLLs only, and this build targets "
                 "'${CMAKE_SYSTEM_NAME}'")
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_tms_bindir bin64)
  set(_tms_libdir lib64)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_tms_bindir bin)
  set(_tms_libdir lib)
else()
  string(CONCAT _tms_error "the host's pointer size is unknown: enable C or CXX (project() "
                 "or enable_language()) before find_package(TolvaricModeSupport)")
endif()

if(NOT _tms_error)
  set(_tms_visual_cpp_abi "${MSVC}")
  foreach(_tms_lang IN ITEMS C CXX)
    if(CMAKE_${_tms_lang}_COMPILER_FRONTEND_VARIANT STREQUAL "MSVC"
       OR CMAKE_${_tms_lang}_SIMULATE_ID STREQUAL "MSVC")
      set(_tms_visual_cpp_abi TRUE)
    endif()
  endforeach()
  if(_tms_visual_cpp_abi)
    set(_tms_implib "${_tms_libdir}/TolvaricModeSupport.lib")
  else()
    set(_tms_implib "${_tms_libdir}/libTolvaricModeSupport.dll.a")
  endif()

  # A release trimmed to one build fails here for the other, by name,
  # instead of at link or load time.
  foreach(_tms_file IN ITEMS "${_tms_bindir}/TolvaricModeSupport.DLL" "${_tms_implib}"
                             "include/TolvaricModeSupport.h")
    if(NOT EXISTS "${_tms_root}/${_tms_file}" AND NOT _tms_error)
      math(EXPR _tms_bits "${CMAKE_SIZEOF_VOID_P} * 8")
      string(CONCAT _tms_error "${_tms_file} is missing from ${_tms_root}, so the release "
                     "cannot serve this ${_tms_bits}-bit build")
    endif()
  endforeach()
endif()

if(_tms_error)
  set(TolvaricModeSupport_NOT_FOUND_MESSAGE "${_tms_error}")
  set(TolvaricModeSupport_FOUND FALSE)
else()
  add_library(TolvaricModeSupport::TolvaricModeSupport SHARED IMPORTED)
  set_target_properties(TolvaricModeSupport::TolvaricModeSupport PROPERTIES
    IMPORTED_LOCATION "${_tms_root}/${_tms_bindir}/TolvaricModeSupport.DLL"
    IMPORTED_IMPLIB "${_tms_root}/${_tms_implib}"
    INTERFACE_INCLUDE_DIRECTORIES "${_tms_root}/include")
  set(TolvaricModeSupport_FOUND TRUE)
endif()

unset(_tms_root)
unset(_tms_error)
unset(_tms_bindir)
unset(_tms_libdir)
unset(_tms_bits)
unset(_tms_file)
unset(_tms_implib)
unset(_tms_lang)
unset(_tms_visual_cpp_abi)
