cmake_policy(SET CMP0057 NEW)
# Checks what a PE tool sees of the DLL and its link map:
# - the header: the GUI subsystem, ASLR and DEP, NO_SEH on 32-bit,
#   high-entropy ASLR and an exception table on 64-bit, a link time stamp
#   derived from the file's bytes (and a checksum that matches them) and
#   none in the export directory, and a 32-bit preferred base clear of
#   where other DLLs load;
# - the entry point is DllMain itself, with no run-time start-up before it;
# - no constructor or destructor table entries, which nothing would run
#   without the C runtime, and no writable data section for state to live in;
# - no path of the source or build folder inside the file;
# - every import is on the reviewed list: only Windows' own DLLs, and only
#   functions that Windows 95 and NT 4 already have (newer ones are looked up
#   at run time by name).
# Also reports the DLL's size.
#
# DLL, OBJDUMP, MAP (the link map), BITS (32 or 64), STAMP (cmake/stamp-pe.sh),
# WORK_DIR (for a scratch copy), ALLOWED and optionally
# ALLOWED_EXTRA (dll!function per line, # comments), FORBIDDEN_PATHS (folder
# paths that must not occur in the file).
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${DLL}")
endif()
set(failures "")

function(header_value name out)
  if(NOT dump MATCHES "\n${name}[\t ]+([0-9a-fA-F]+)")
    message(FATAL_ERROR "no ${name} in the dump of ${DLL}: the objdump format may have changed")
  endif()
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# Header fields.
header_value(Subsystem subsystem)
math(EXPR subsystem "0x${subsystem}")
if(NOT subsystem EQUAL 2)
  list(APPEND failures "Subsystem ${subsystem}: a DLL of a GUI host carries 2 (Windows GUI)")
endif()
header_value(DllCharacteristics characteristics_hex)
math(EXPR characteristics "0x${characteristics_hex}")
set(flag_HIGH_ENTROPY_VA 0x20)
set(flag_DYNAMIC_BASE 0x40)
set(flag_NX_COMPAT 0x100)
set(flag_NO_SEH 0x400)
set(required DYNAMIC_BASE NX_COMPAT)
if(BITS EQUAL 64)
  list(APPEND required HIGH_ENTROPY_VA)
else()
  list(APPEND required NO_SEH)
endif()
foreach(flag IN LISTS required)
  math(EXPR set_bits "${characteristics} & ${flag_${flag}}")
  if(set_bits EQUAL 0)
    list(APPEND failures "DllCharacteristics 0x${characteristics_hex} lacks ${flag}")
  endif()
endforeach()
if(NOT dump MATCHES "\nTime/Date stamp[\t ]+0\n")
  list(APPEND failures "the export directory carries a time stamp")
endif()
# The link time stamp and the checksum: not 0, and the ones cmake/stamp-pe.sh
# derives from the file's bytes (stamping a copy again must change nothing),
# so that nothing wrote the file after them and they are reproducible.
header_value(CheckSum checksum)
if(dump MATCHES "\nTime/Date[\t ]+Thu Jan  1 00:00:00 1970\n")
  list(APPEND failures "the file header carries no time stamp")
elseif(checksum MATCHES "^0+$")
  list(APPEND failures "the image has no checksum")
else()
  get_filename_component(dll_name ${DLL} NAME)
  set(restamped ${WORK_DIR}/restamped-${dll_name})
  file(COPY_FILE ${DLL} ${restamped})
  execute_process(COMMAND sh ${STAMP} ${restamped} RESULT_VARIABLE rc)
  file(SHA256 ${DLL} stamped_hash)
  file(SHA256 ${restamped} restamped_hash)
  file(REMOVE ${restamped})
  if(NOT rc EQUAL 0 OR NOT stamped_hash STREQUAL restamped_hash)
    list(APPEND failures "the time stamp or checksum is not the one derived from the file's bytes")
  endif()
endif()
if(BITS EQUAL 64 AND NOT dump MATCHES "Entry 3 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Exception Directory")
  list(APPEND failures "no exception table: x64 Windows cannot unwind through the DLL's frames")
endif()

# Sections: state could only live in writable data; DWARF unwind tables
# and run-time start-up sections would mean the C runtime came back.
execute_process(COMMAND ${OBJDUMP} -h ${DLL} OUTPUT_VARIABLE section_dump RESULT_VARIABLE rc)
foreach(section .data .bss .tls .CRT .eh_fram)
  string(REPLACE "." "\\." pattern "${section}")
  if(section_dump MATCHES "\n +[0-9]+ ${pattern} ")
    list(APPEND failures "unexpected section ${section}")
  endif()
endforeach()

# The entry point is DllMain's address in the link map.
header_value(AddressOfEntryPoint entry_rva)
header_value(ImageBase image_base)
# The 32-bit DLL's preferred range must miss where others' DLLs load first
# (see tms_windows_dll_link_options): the usual linkers' default and Wine's
# small DLLs, Windows' own on the NT family (and Wine's), and the region
# above 2 GB that Windows 95 and 98 share between processes.
if(BITS EQUAL 32)
  header_value(SizeOfImage image_size)
  math(EXPR image_start "0x${image_base}")
  math(EXPR image_end "0x${image_base} + 0x${image_size}")
  foreach(range "0x10000000 0x10100000 the linkers' default"
                "0x4D000000 0x80000000 Windows' and Wine's own DLLs"
                "0x80000000 0x100000000 the shared region of Windows 95 and 98")
    string(REGEX MATCH "^([^ ]+) ([^ ]+) (.*)$" _ "${range}")
    math(EXPR range_start "${CMAKE_MATCH_1}")
    math(EXPR range_end "${CMAKE_MATCH_2}")
    if(image_start LESS range_end AND image_end GREATER range_start)
      list(APPEND failures "the image (0x${image_base}, 0x${image_size} bytes) overlaps ${CMAKE_MATCH_3}")
    endif()
  endforeach()
endif()
file(READ ${MAP} map)
if(NOT map MATCHES "\n +0x0*([0-9a-f]+) +_?DllMain(@12)?\n")
  message(FATAL_ERROR "no DllMain in ${MAP}")
endif()
math(EXPR dllmain_address "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR entry_address "0x${image_base} + 0x${entry_rva}" OUTPUT_FORMAT HEXADECIMAL)
if(NOT entry_address STREQUAL dllmain_address)
  list(APPEND failures "the entry point ${entry_address} is not DllMain (${dllmain_address})")
endif()

# Constructor and destructor tables: the linker writes their bounds itself;
# any input section placed between them is an entry.
string(REPLACE "\n" ";" map_lines "${map}")
foreach(line IN LISTS map_lines)
  if(line MATCHES "^ \\.(ctors|dtors|ctor|dtor|init_array|fini_array)[.0-9]* +0x[0-9a-f]+ +0x0*([1-9a-f][0-9a-f]*) +(.*)$")
    list(APPEND failures "a ${CMAKE_MATCH_1} table entry from ${CMAKE_MATCH_3}")
  endif()
endforeach()

# No folder of the build machine inside the file.
foreach(folder IN LISTS FORBIDDEN_PATHS)
  string(REGEX REPLACE "([][.+*?^$()|])" "\\\\\\1" folder_pattern "${folder}")
  file(STRINGS ${DLL} hits REGEX "${folder_pattern}")
  if(hits)
    list(APPEND failures "the path ${folder} occurs in the DLL")
  endif()
endforeach()

file(SIZE ${DLL} dll_size)
message(STATUS "${DLL}: ${dll_size} bytes, DllCharacteristics 0x${characteristics_hex}")

# Imports against the reviewed lists.
set(allowed_lines "")
foreach(list_file IN ITEMS ${ALLOWED} ${ALLOWED_EXTRA})
  file(STRINGS ${list_file} list_lines REGEX "^[^#]")
  list(APPEND allowed_lines ${list_lines})
endforeach()
set(allowed "")
foreach(line IN LISTS allowed_lines)
  string(STRIP "${line}" line)
  string(TOLOWER "${line}" line)
  list(APPEND allowed "${line}")
endforeach()

# An imported function's row under its DLL's name. binutils 2.40 prints
# "vma  Hint/Ord  Member-Name" ("\t61d8\t 1569  RegCloseKey"); 2.44 adds an
# ordinal column: "vma  Ordinal  Hint  Member-Name"
# ("\t00006128  <none>  0266  RegCloseKey"). The name is the second group.
set(import_row "^\t?[0-9a-f]+[\t ]+(<none> +|[0-9]+ +)?[0-9a-f]+ +([A-Za-z_0-9@]+)$")
string(REPLACE "\n" ";" lines "${dump}")
set(current_dll "")
set(found "")
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: (.+)$")
    string(TOLOWER "${CMAKE_MATCH_1}" current_dll)
  elseif(current_dll AND line MATCHES "${import_row}")
    set(entry "${current_dll}!${CMAKE_MATCH_2}")
    string(TOLOWER "${entry}" key)
    list(APPEND found "${entry}")
    if(NOT key IN_LIST allowed)
      list(APPEND failures "import outside the reviewed list: ${entry}")
    endif()
  endif()
endforeach()

list(LENGTH found count)
if(count EQUAL 0)
  message(FATAL_ERROR "no imports found in ${DLL}: the objdump format may have changed")
endif()
string(REPLACE ";" "\n  " listing "${found}")
message(STATUS "${count} imports:\n  ${listing}")
if(failures)
  string(REPLACE ";" "\n  " listing "${failures}")
  message(FATAL_ERROR "${DLL}:\n  ${listing}")
endif()
