# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the files it is about to package: Debian keeps the binaries
# of games in /usr/games, without the sections that its own packages strip.
set(usr ${CPACK_TEMPORARY_DIRECTORY}/usr)
file(MAKE_DIRECTORY ${usr}/games)
file(RENAME ${usr}/bin/drift-harbour ${usr}/games/drift-harbour)
file(REMOVE_RECURSE ${usr}/bin)
execute_process(COMMAND ${CPACK_DRIFT_STRIP} --remove-section=.comment --remove-section=.note
                        ${usr}/games/drift-harbour
                COMMAND_ERROR_IS_FATAL ANY)

