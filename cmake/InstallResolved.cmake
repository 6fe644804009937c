# Installs the folder SRC of the build tree as DST with every link resolved (run from an
# install rule): the build tree links pictures and English layouts into the source tree,
# an installed copy must hold real files that outlive both trees.
file(GLOB_RECURSE files FOLLOW_SYMLINKS LIST_DIRECTORIES false RELATIVE "${SRC}" "${SRC}/*")
foreach(f ${files})
  get_filename_component(real "${SRC}/${f}" REALPATH)
  get_filename_component(folder "${DST}/${f}" DIRECTORY)
  get_filename_component(name "${f}" NAME)
  file(INSTALL "${real}" DESTINATION "${folder}" RENAME "${name}")
endforeach()
