# Installs beside dravik.exe the DLLs that DRAVIK_DLL_USERS (the installed program and plugins) load,
# directly or through one another: each found by name in DRAVIK_DLL_FOLDERS, in order, those found
# in DRAVIK_SYSTEM_DLLS (Windows' own) left out. A DLL found nowhere fails the install.
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe) # not the host's kind, which CMake would assume
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${DRAVIK_OBJDUMP})
file(GET_RUNTIME_DEPENDENCIES
    RESOLVED_DEPENDENCIES_VAR dlls
    UNRESOLVED_DEPENDENCIES_VAR missing
    EXECUTABLES ${DRAVIK_DLL_USERS}
    DIRECTORIES ${DRAVIK_DLL_FOLDERS}
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
    POST_EXCLUDE_REGEXES "^${DRAVIK_SYSTEM_DLLS}/")
if(missing)
    message(FATAL_ERROR "DLLs found nowhere: ${missing}")
endif()
foreach(dll IN LISTS dlls)
    # Through the lower-case links to the files under their own names.
    file(REAL_PATH ${dll} file)
    file(INSTALL DESTINATION ${CMAKE_INSTALL_PREFIX} TYPE SHARED_LIBRARY FILES ${file})
endforeach()
