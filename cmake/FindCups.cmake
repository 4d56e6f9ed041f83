# Finds libcups through cups-config / pkg-config and offers Cups::Cups.
find_package(PkgConfig QUIET)
pkg_check_modules(PC_CUPS QUIET cups)
find_path(CUPS_INCLUDE_DIR cups/ppd.h HINTS ${PC_CUPS_INCLUDE_DIRS})
find_library(CUPS_LIBRARY cups HINTS ${PC_CUPS_LIBRARY_DIRS})
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Cups REQUIRED_VARS CUPS_LIBRARY CUPS_INCLUDE_DIR)
if(Cups_FOUND AND NOT TARGET Cups::Cups)
  add_library(Cups::Cups UNKNOWN IMPORTED)
  set_target_properties(Cups::Cups PROPERTIES
    IMPORTED_LOCATION ${CUPS_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${CUPS_INCLUDE_DIR}
    # The PPD API is marked deprecated in favour of IPP Everywhere; this
    # driver is PPD-based by design.
    INTERFACE_COMPILE_OPTIONS -Wno-deprecated-declarations)
endif()
