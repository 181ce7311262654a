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
# (NO_SEH), the 64-bit one takes high-entropy ASLR. The linker writes no
# time stamp; cmake/stamp-pe.sh then writes one derived from the image's
# bytes (and the checksum that then matches), so that builds can be told
# apart and the same sources still give the same bytes. Code and data
# nothing refers to are left out. The link map (<name>.map beside the DLL)
# lets tests see the entry point's symbol and that no constructor table was
# linked in.
function(tms_windows_dll_link_options target)
  # Fixed image bases: the linker's automatic choice hashes the output path
  # as the link was given it. The 64-bit base is that choice, kept. The
  # 32-bit base avoids where others' DLLs want to load, so that hosts do not
  # relocate it: Windows' own DLLs prefer 0x4D000000 to 0x80000000 on the NT
  # family (LPK.DLL sits at 0x629C0000 on XP and Server 2003; Vista and later
  # move them at random within that span) and lie above 0x80000000 on
  # Windows 95 and 98; Wine's own take 0x10000000 and 0x61000000 to
  # 0x7C000000; 0x10000000 is also the usual linkers' default, where most
  # other DLLs land. 0x46000000 is clear of all of them, and high enough that
  # a host's heap seldom grows into it. tests/dll/check_pe.cmake holds the
  # ranges to avoid.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(entry DllMain)
    set(pe_flags -Wl,--high-entropy-va -Wl,--image-base,0x3114e0000)
  else()
    set(entry _DllMain@12)
    set(pe_flags -Wl,--no-seh -Wl,--image-base,0x46000000)
  endif()
  target_link_options(${target} PRIVATE
    -nostdlib -nostartfiles -s
    -Wl,--entry,${entry} -Wl,--subsystem,windows
    -Wl,--nxcompat -Wl,--dynamicbase ${pe_flags}
    -Wl,--no-insert-timestamp -Wl,--gc-sections
    -Wl,-T,${PROJECT_SOURCE_DIR}/cmake/windows-dll-sections.ld
    -Wl,-Map,$<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.map)
  target_link_libraries(${target} PRIVATE gcc)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/stamp-pe.sh $<TARGET_FILE:${target}>
    VERBATIM)
  # A changed stamping script relinks, so that its change reaches the DLL.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/stamp-pe.sh)
endfunction()
