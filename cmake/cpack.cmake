# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CPack for each package it makes: every file, folder and archive of
# it is dated with the last commit's time (or SOURCE_DATE_EPOCH), and the
# Windows installer is named -setup.exe beside the zip.
if(CPACK_GENERATOR STREQUAL NSIS)
    string(APPEND CPACK_PACKAGE_FILE_NAME -setup)
endif()
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND CPACK_DRIFT_SOURCE_DATE_EPOCH)
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_DRIFT_SOURCE_DATE_EPOCH})
endif()
