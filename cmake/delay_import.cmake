# The system DLLs that the first screen does not need are loaded at their first call: under
# Wine each one loaded at start costs tens of milliseconds before the window can show.
# blk_delay_import(<target> <dll> <export@argument-bytes>...) links target with a
# delay-import library of those functions made by dlltool.
function(blk_delay_import target dll)
  get_filename_component(base ${dll} NAME_WE)
  # The 32-bit delay-import thunks of dlltool resolve some functions to address 0 (winspool's
  # DeviceCapabilitiesW, seen under Wine 8): a 32-bit program links its DLLs as usual.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL i686)
    target_link_libraries(${target} PUBLIC ${base})
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/delay_import)
  set(lib ${dir}/lib${base}_delay.a)
  set(text "LIBRARY ${dll}\nEXPORTS\n")
  foreach(e ${ARGN})
    # Only 32-bit names carry the size of their arguments.
    if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL i686)
      string(REGEX REPLACE "@[0-9]+$" "" e ${e})
    endif()
    string(APPEND text "  ${e}\n")
  endforeach()
  file(WRITE ${dir}/${base}.def.new "${text}")
  configure_file(${dir}/${base}.def.new ${dir}/${base}.def COPYONLY)
  set(kill_at "")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL i686)
    set(kill_at --kill-at)
  endif()
  add_custom_command(OUTPUT ${lib}
    COMMAND ${BLK_DLLTOOL} ${kill_at} --input-def ${dir}/${base}.def --dllname ${dll} --output-delaylib ${lib}
    DEPENDS ${dir}/${base}.def VERBATIM)
  add_custom_target(${base}_delay_import DEPENDS ${lib})
  add_dependencies(${target} ${base}_delay_import)
  target_link_libraries(${target} PUBLIC ${lib})
endfunction()
