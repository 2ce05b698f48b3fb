# Set-up of the editor's file-safety test: a rules file reached through a symbolic link.
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR}/real)
file(TOUCH ${DIR}/real/Rulesmd.ini)
file(CREATE_LINK real/Rulesmd.ini ${DIR}/Rulesmd.ini SYMBOLIC)
