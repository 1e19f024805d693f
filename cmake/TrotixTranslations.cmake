# The window's translations, kept as .ts files in the tree.
#   cmake -DLUPDATE=… -DSOURCES=src/gui -DINCLUDE=src -DTS=….ts -DMODE=update -P TrotixTranslations.cmake
# brings the .ts up to date with the window's tr() texts (new texts come in unfinished);
# MODE=check does the same into a copy and fails when the copy differs from the .ts in the tree
# or holds an unfinished text: a window text without its translation.
# Locations are left out, so moving code never changes the .ts. INCLUDE lets lupdate read the
# headers the sources include ("gui/…"), where it learns each class's namespace, the context tr()
# has at run time.
set(options -I ${INCLUDE} -locations none -no-obsolete -silent)
if(MODE STREQUAL "update")
  execute_process(COMMAND ${LUPDATE} ${SOURCES} ${options} -ts ${TS} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "lupdate failed")
  endif()
  return()
endif()

get_filename_component(name ${TS} NAME)
set(copy ${WORK}/${name})
file(MAKE_DIRECTORY ${WORK})
configure_file(${TS} ${copy} COPYONLY)
execute_process(COMMAND ${LUPDATE} ${SOURCES} ${options} -ts ${copy} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "lupdate failed")
endif()
file(READ ${TS} kept)
file(READ ${copy} fresh)
if(NOT kept STREQUAL fresh)
  execute_process(COMMAND diff -u ${TS} ${copy})
  message(FATAL_ERROR "${name} is not up to date with the window's texts: "
                      "build the target trotix_update_translations and translate what it adds")
endif()
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" missing
       "${fresh}")
list(LENGTH missing count)
if(count GREATER 0)
  message(FATAL_ERROR "${name}: ${count} texts without a translation:\n${missing}")
endif()
