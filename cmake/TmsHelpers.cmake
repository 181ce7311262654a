# Shared build settings.

# Library code: no exceptions, no RTTI, nothing from the C++ runtime that
# would need libstdc++ at run time.
function(tms_library_options target)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-threadsafe-statics)
  if(WIN32)
    # Nothing unwinds through the library, so it needs no unwind tables; and
    # size matters more than speed for a DLL that hosts load on start-up.
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables
                                             $<$<CONFIG:Release>:-Os>)
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
