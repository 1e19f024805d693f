# What the package carries beside the programs: a manual page per program, made at build time by
# help2man from the program's own --help and --version, so the two never differ; the copyright
# and the changelog, compressed as Debian keeps them.
find_program(HELP2MAN help2man)
find_program(GZIP gzip REQUIRED)
set(TROTIX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/trotix)

# trotix_man_page(TARGET "what it is"): TARGET.1.gz under share/man/man1.
function(trotix_man_page TARGET SUMMARY)
  if(NOT HELP2MAN)
    message(STATUS "help2man not found: no manual page for ${TARGET} (scripts/install-deps)")
    return()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${TARGET}.1)
  # The window answers --help without a display; offscreen in case a platform is asked for.
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${HELP2MAN} --no-info
            --name=${SUMMARY} --section=1 --output=${page} $<TARGET_FILE:${TARGET}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${TARGET}
    COMMENT "Manual page of ${TARGET}"
    VERBATIM)
  add_custom_target(${TARGET}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# The changelog as a native package keeps it, and the machine-readable copyright.
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "The package's changelog")
add_custom_target(trotix-changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${TROTIX_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${TROTIX_DOC_DIR})

# The changelog's latest entry names the release being built.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^trotix \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog has no entry for ${PROJECT_VERSION} on top: ${latest}")
endif()
