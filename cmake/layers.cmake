# One static library per folder, each linked only to the folders below it. A folder's
# sources see the headers of their own folder and of those below, and nothing else, so
# that an include of a folder above does not compile. What they see is a folder of links
# to those folders, made at configure time.
#
# blk_layer(<target> [BELOW <layers>...] [CORE <sources>...] [WIN <sources>...])
# in the folder's CMakeLists.txt: CORE sources need no platform (they build natively too),
# WIN sources are built for Windows only.
function(blk_layer target)
  cmake_parse_arguments(L "" "" "BELOW;CORE;WIN" ${ARGN})
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(folders ${folder})
  foreach(below ${L_BELOW})
    get_property(seen GLOBAL PROPERTY BLK_FOLDERS_${below})
    if(NOT seen)
      message(FATAL_ERROR "${target}: ${below} is no layer made before it")
    endif()
    list(APPEND folders ${seen})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set_property(GLOBAL PROPERTY BLK_FOLDERS_${target} ${folders})

  # A view of its own for every set of folders: a folder taken out is never seen again.
  string(MD5 key "${folders}")
  string(SUBSTRING ${key} 0 8 key)
  set(view ${CMAKE_BINARY_DIR}/layers/${target}-${key})
  foreach(f ${folders})
    if(NOT EXISTS ${view}/${f})
      get_filename_component(parent ${view}/${f} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${f} ${view}/${f} SYMBOLIC)
    endif()
  endforeach()

  set(sources ${L_CORE})
  if(WIN32)
    list(APPEND sources ${L_WIN})
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PRIVATE ${view})
    target_compile_options(${target} PRIVATE ${BLK_WARNINGS} ${BLK_LAYER_OPTIONS})
    target_link_libraries(${target} PUBLIC ${L_BELOW})
  else()
    # Nothing of it builds here (a native build of a folder of windows).
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${L_BELOW})
  endif()
endfunction()
