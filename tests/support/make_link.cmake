# Set-up of a test that saves through a symbolic link, made outside Wine:
# DIR/NAME links to DIR/real/NAME, which holds "old".
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR}/real)
file(WRITE ${DIR}/real/${NAME} "old")
file(CREATE_LINK real/${NAME} ${DIR}/${NAME} SYMBOLIC)
