# Run by CPack on the staged files before the Debian package is made: Debian's games live in
# /usr/games, not /usr/bin (nothing else is in bin/).
set(staged ${CPACK_TEMPORARY_DIRECTORY}/usr)
if(EXISTS ${staged}/bin/vorl)
  file(MAKE_DIRECTORY ${staged}/games)
  file(RENAME ${staged}/bin/vorl ${staged}/games/vorl)
  file(REMOVE_RECURSE ${staged}/bin)
endif()
