# Copies the game folder FROM into TO for the page: the game's own files, without the native
# program and the records a player left there (as installing leaves them out).
file(REMOVE_RECURSE ${TO})
file(COPY ${FROM}/ DESTINATION ${TO}
     PATTERN tsukikage EXCLUDE
     PATTERN cgmode.dat EXCLUDE
     PATTERN endlist.dat EXCLUDE
     PATTERN "save*.dat" EXCLUDE
     PATTERN "*.damaged" EXCLUDE)
