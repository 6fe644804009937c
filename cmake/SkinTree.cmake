# Lays out one skin folder of the build tree (run with cmake -P): SRC is data/<skin>, DST
# build/<skin>. Every picture and the English layouts are links into the source tree;
# language/ is a real folder so that the generated languages can sit beside "eng".
if(IS_SYMLINK "${DST}")
  file(REMOVE "${DST}")  # older build trees linked the whole skin folder
endif()
file(MAKE_DIRECTORY "${DST}/language")
file(GLOB entries RELATIVE "${SRC}" "${SRC}/*")
foreach(e ${entries})
  if(NOT e STREQUAL "language" AND NOT EXISTS "${DST}/${e}")
    file(CREATE_LINK "${SRC}/${e}" "${DST}/${e}" SYMBOLIC)
  endif()
endforeach()
file(GLOB languages RELATIVE "${SRC}/language" "${SRC}/language/*")
foreach(l ${languages})
  if(NOT EXISTS "${DST}/language/${l}")
    file(CREATE_LINK "${SRC}/language/${l}" "${DST}/language/${l}" SYMBOLIC)
  endif()
endforeach()
# A picture removed from the source leaves a dangling link: drop it.
file(GLOB links "${DST}/*")
foreach(l ${links})
  if(IS_SYMLINK "${l}" AND NOT EXISTS "${l}")
    file(REMOVE "${l}")
  endif()
endforeach()
