# Set-up of the PNG saving test: a file reached through a symbolic link, made outside Wine.
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR}/real)
file(WRITE ${DIR}/real/linked.png "old")
file(CREATE_LINK real/linked.png ${DIR}/linked.png SYMBOLIC)
