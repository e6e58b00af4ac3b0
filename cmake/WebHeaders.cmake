# The header-only libraries the core uses, for Emscripten: its sysroot has
# its own C and C++ libraries and must not see the system's /usr/include, so
# only the libraries' own folders are linked into one of the build tree and
# put on the include path.
set(TORAVEL_WEB_HEADERS ${CMAKE_BINARY_DIR}/system-headers)
foreach(header nlohmann/json.hpp fast_float/fast_float.h)
  get_filename_component(folder ${header} DIRECTORY)
  find_path(TORAVEL_${folder}_ROOT ${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
            NO_DEFAULT_PATH REQUIRED)
  file(MAKE_DIRECTORY ${TORAVEL_WEB_HEADERS})
  file(CREATE_LINK ${TORAVEL_${folder}_ROOT}/${folder} ${TORAVEL_WEB_HEADERS}/${folder} SYMBOLIC)
endforeach()
include_directories(SYSTEM ${TORAVEL_WEB_HEADERS})

# nlohmann/json's own CMake package lies outside the sysroot as well.
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
