# Shared build settings.

# Library code: no exceptions, no RTTI, nothing from the C++ runtime that
# would need libstdc++ at run time.
function(tms_library_options target)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-threadsafe-statics)
  if(WIN32)
    # Size matters more than speed for a DLL that hosts load on start-up;
    # functions and data nothing refers to are left out at the link.
    target_compile_options(${target} PRIVATE -fno-ident -ffunction-sections -fdata-sections
                                             $<$<CONFIG:Release>:-Os>)
    # 32-bit Windows finds exception handlers through a chain on the stack
    # and needs no tables. x64 Windows unwinds every frame by its table: an
    # exception raised in a host's window procedure while the colour dialog
    # runs, and handled by the host outside the call, passes through the
    # library's frames, so the 64-bit DLL keeps its tables.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
    endif()
  else()
    target_compile_options(${target} PRIVATE -fvisibility=hidden -fvisibility-inlines-hidden)
  endif()
endfunction()

# Windows programs are linked statically, so that they run under Wine with
# no MinGW runtime DLLs beside them.
function(tms_windows_program target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# A Windows DLL with no C runtime and no start-up files: DllMain is the
# image's entry point, system DLLs are the only imports, and static libgcc
# supplies the helpers that the compiler calls (64-bit division, stack
# probes), which import nothing. The PE header marks a GUI-subsystem image
# with ASLR and DEP; the 32-bit one registers no exception handlers
# (NO_SEH), the 64-bit one takes high-entropy ASLR. No time stamp goes into
# the image, so that the same sources give the same bytes; code and data
# nothing refers to are left out. The link map
# (<name>.map beside the DLL) lets tests see the entry point's symbol and
# that no constructor table was linked in.
function(tms_windows_dll_link_options target)
  # Fixed image bases, where the linker's automatic choice put them: that
  # choice hashes the output path as the link was given it.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(entry DllMain)
    set(pe_flags -Wl,--high-entropy-va -Wl,--image-base,0x3114e0000)
  else()
    set(entry _DllMain@12)
    set(pe_flags -Wl,--no-seh -Wl,--image-base,0x629c0000)
  endif()
  target_link_options(${target} PRIVATE
    -nostdlib -nostartfiles -s
    -Wl,--entry,${entry} -Wl,--subsystem,windows
    -Wl,--nxcompat -Wl,--dynamicbase ${pe_flags}
    -Wl,--no-insert-timestamp -Wl,--gc-sections
    -Wl,-T,${PROJECT_SOURCE_DIR}/cmake/windows-dll-sections.ld
    -Wl,-Map,$<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.map)
  target_link_libraries(${target} PRIVATE gcc)
endfunction()
