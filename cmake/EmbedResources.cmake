# Compiles resource files into the core as byte arrays, so the command-line
# tool renders map images without any file beside it.
set(MIREFORGE_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_one.cmake)

function(mireforge_embed_resources output)
  set(files ${ARGN})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DFILES=${files}" -P ${MIREFORGE_EMBED_SCRIPT}
    DEPENDS ${files} ${MIREFORGE_EMBED_SCRIPT}
    COMMENT "Embedding resources"
    VERBATIM)
endfunction()
