# Fills the build's program folder from data/ (cmake -DSOURCE=... -DTARGET=... -P this file).
# The settings file and the note are the user's once they exist: the program writes them when
# it closes, and a rebuild must not throw that away. Everything else follows data/.
file(GLOB_RECURSE shipped RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(relative IN LISTS shipped)
  set(target ${TARGET}/${relative})
  if(relative MATCHES "^(nfo\\.ini|note\\.txt)$" AND EXISTS ${target})
    continue()
  endif()
  get_filename_component(folder ${target} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${SOURCE}/${relative} ${target} ONLY_IF_DIFFERENT)
endforeach()
