# The export list for hosts and for the 64-bit DLL, derived from the one
# module-definition file the 32-bit DLL is linked with
# (src/exports/TolvaricModeSupport.def: "name = name@bytes @ordinal").
#
#  - 32-bit: "name@bytes @ordinal". The import libraries made from it with
#    "dlltool -k" give hosts the stdcall symbol a compiler emits for a WINAPI
#    declaration (_name@bytes) while the DLL is entered by its plain name.
#  - 64-bit: "name @ordinal". x64 has one calling convention and no
#    decorations; the ordinals stay the same.
function(tms_derive_module_definition source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(STRINGS ${source} lines)
  set(library "")
  set(exports "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^LIBRARY +(.+)$")
      set(library "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^ +([A-Za-z_][A-Za-z0-9_]*) = ([A-Za-z_][A-Za-z0-9_]*)(@[0-9]+) +@([0-9]+) *$")
      if(NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
        message(FATAL_ERROR "${source}: export ${CMAKE_MATCH_1} names another function")
      endif()
      if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        string(APPEND exports "  ${CMAKE_MATCH_1} @${CMAKE_MATCH_4}\n")
      else()
        string(APPEND exports "  ${CMAKE_MATCH_1}${CMAKE_MATCH_3} @${CMAKE_MATCH_4}\n")
      endif()
    elseif(NOT line MATCHES "^(EXPORTS|;.*|)$")
      message(FATAL_ERROR "${source}: line not understood: ${line}")
    endif()
  endforeach()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(comment [[
; Exports of the 64-bit TolvaricModeSupport.DLL (x64 convention, plain names).]])
  else()
    set(comment [[
; Exports of the 32-bit TolvaricModeSupport.DLL: stdcall names with their
; argument bytes. The DLL exports the plain names; make import libraries
; with "dlltool -k" (or "llvm-dlltool -m i386 -k"), which keeps the
; decorated symbol for the linker and strips it from the imported name.]])
  endif()
  set(content "${comment}\nLIBRARY ${library}\nEXPORTS\n${exports}")
  # Rewritten only when it changes, so the import libraries are not remade
  # at every configure.
  set(previous "")
  if(EXISTS ${output})
    file(READ ${output} previous)
  endif()
  if(NOT previous STREQUAL content)
    file(WRITE ${output} "${content}")
  endif()
endfunction()

# Import libraries for hosts that link the DLL at load time, from the derived
# export list: the MinGW form (lib<name>.dll.a, made by the cross binutils'
# dlltool) and the Visual C++ form (<name>.lib, the short import format).
# Both land in ${out_dir} (the second only where llvm-dlltool is found) and
# are listed in TMS_IMPORT_LIBRARIES. Hosts built here link them through the
# targets Tms::ImportLibrary and Tms::MsvcImportLibrary, which also carry
# include/.
function(tms_add_import_libraries definition out_dir)
  find_program(TMS_LLVM_DLLTOOL llvm-dlltool)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(machine i386:x86-64)
  else()
    set(machine i386)
  endif()
  set(mingw_library ${out_dir}/libTolvaricModeSupport.dll.a)
  set(msvc_library ${out_dir}/TolvaricModeSupport.lib)
  set(forms mingw)
  set(outputs ${mingw_library})
  set(msvc_command "")
  if(TMS_LLVM_DLLTOOL)
    list(APPEND forms msvc)
    list(APPEND outputs ${msvc_library})
    set(msvc_command COMMAND ${TMS_LLVM_DLLTOOL} -m ${machine} -k -d ${definition} -l ${msvc_library})
  else()
    tms_tool_missing("llvm-dlltool" "the Visual C++ import library (TolvaricModeSupport.lib)")
  endif()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${CMAKE_DLLTOOL} -k -d ${definition} -l ${mingw_library}
    ${msvc_command}
    DEPENDS ${definition}
    COMMENT "Import libraries from ${definition}"
    VERBATIM)
  add_custom_target(tms_import_libraries ALL DEPENDS ${outputs})
  foreach(form IN LISTS forms)
    add_library(tms_${form}_import_library INTERFACE)
    target_link_libraries(tms_${form}_import_library INTERFACE ${${form}_library})
    target_include_directories(tms_${form}_import_library INTERFACE ${PROJECT_SOURCE_DIR}/include)
    add_dependencies(tms_${form}_import_library tms_import_libraries TolvaricModeSupport)
  endforeach()
  add_library(Tms::ImportLibrary ALIAS tms_mingw_import_library)
  if(TMS_LLVM_DLLTOOL)
    add_library(Tms::MsvcImportLibrary ALIAS tms_msvc_import_library)
  endif()
  set(TMS_IMPORT_LIBRARIES ${outputs} PARENT_SCOPE)
endfunction()
