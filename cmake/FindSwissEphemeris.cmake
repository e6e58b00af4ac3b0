# Swiss Ephemeris (Debian libswe-dev, swe-basic-data): tools and reference
# tests only. Defines the imported target SwissEphemeris::swe when found, and
# TORAVEL_SWE_DATA_DIR, the directory of its ephemeris files.
find_path(SWE_INCLUDE_DIR swephexp.h PATH_SUFFIXES libswe swe)
find_library(SWE_LIBRARY NAMES swe)
find_path(TORAVEL_SWE_DATA_DIR semo_18.se1
          PATHS /usr/share/libswe/ephe /usr/share/libswe/ephe2 /usr/share/swisseph
          NO_DEFAULT_PATH)
if(SWE_INCLUDE_DIR AND SWE_LIBRARY AND TORAVEL_SWE_DATA_DIR)
  add_library(SwissEphemeris::swe UNKNOWN IMPORTED)
  set_target_properties(SwissEphemeris::swe PROPERTIES
    IMPORTED_LOCATION "${SWE_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${SWE_INCLUDE_DIR}")
  set(TORAVEL_HAVE_SWE ON)
  message(STATUS "Swiss Ephemeris: ${SWE_LIBRARY}, data in ${TORAVEL_SWE_DATA_DIR}")
else()
  set(TORAVEL_HAVE_SWE OFF)
  message(STATUS "Swiss Ephemeris not found: reference tests will skip, fitting tools are not built")
endif()
