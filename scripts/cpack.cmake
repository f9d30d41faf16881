# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CPack for each package it makes of the Windows build: the installer
# is named -setup.exe beside the zip, and both are dated like the .deb.
if(CPACK_GENERATOR STREQUAL NSIS)
    string(APPEND CPACK_PACKAGE_FILE_NAME -setup)
endif()
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND CPACK_DRIFT_SOURCE_DATE_EPOCH)
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_DRIFT_SOURCE_DATE_EPOCH})
endif()
