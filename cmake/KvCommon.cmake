# Compiler settings shared by every target of ours (not by third-party code).

set(KV_WARNINGS -Wall -Wextra)

if(KV_SANITIZE)
  if(WIN32)
    message(FATAL_ERROR "KV_SANITIZE is for the native build")
  endif()
  set(KV_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(${KV_SAN_FLAGS})
endif()

if(WIN32)
  # No DLL of the compiler may be needed at run time: libgcc, libstdc++ and
  # winpthread go into each executable and library.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
endif()

# kv_defaults(target): warnings and sanitizers for a target of this project.
function(kv_defaults target)
  target_compile_options(${target} PRIVATE ${KV_WARNINGS} ${KV_SAN_FLAGS})
endfunction()

# kv_def_file(target libname exports...): writes the module-definition file
# of a DLL from lists of exported names (one per line, .def syntax) and
# links the DLL with it, so every name is exported undecorated.
function(kv_def_file target libname)
  set(content "LIBRARY ${libname}\nEXPORTS\n")
  foreach(list ${ARGN})
    file(READ ${list} names)
    string(APPEND content "${names}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list})
  endforeach()
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${libname}.def)
  file(WRITE ${def}.tmp "${content}")
  configure_file(${def}.tmp ${def} COPYONLY)
  target_sources(${target} PRIVATE ${def})
endfunction()
