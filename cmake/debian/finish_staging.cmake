# Run by CPack on the staged files before it packs them: Debian wants manual pages and the
# changelog compressed, and a changelog beside the copyright.
set(staged ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc_folder ${staged}/${CPACK_ZIFFERON_DOC_DIR})

execute_process(COMMAND date --rfc-email --utc --date=${CPACK_ZIFFERON_RELEASE_DATE}
                OUTPUT_VARIABLE release_date OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CPACK_ZIFFERON_CHANGELOG} ${doc_folder}/changelog.Debian @ONLY)
execute_process(COMMAND gzip -9nf ${doc_folder}/changelog.Debian
                                  ${staged}/${CPACK_ZIFFERON_MANUAL_PAGE}
                COMMAND_ERROR_IS_FATAL ANY)
