# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the files it is about to package: Debian keeps the binaries
# of games in /usr/games.
set(usr ${CPACK_TEMPORARY_DIRECTORY}/usr)
file(MAKE_DIRECTORY ${usr}/games)
file(RENAME ${usr}/bin/drift-harbour ${usr}/games/drift-harbour)
file(REMOVE_RECURSE ${usr}/bin)
