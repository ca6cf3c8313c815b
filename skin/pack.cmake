# Redraws the images, stages them with the layouts and packs a fresh archive:
# LZMA2 with a 1536 KiB dictionary, one solid block, no time stamps (so the same
# sources always give the same bytes).
file(REMOVE_RECURSE ${STAGE})
file(REMOVE ${ARCHIVE})
file(MAKE_DIRECTORY ${STAGE})

execute_process(
  COMMAND ${ART} ${STAGE}/res ${ICON}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lexivar-skin-art failed: ${rc}")
endif()

set(names)
foreach(layout IN LISTS LAYOUTS)
  file(COPY ${layout} DESTINATION ${STAGE})
  get_filename_component(name ${layout} NAME)
  list(APPEND names ${name})
endforeach()

execute_process(
  COMMAND ${SEVENZIP} a -t7z -m0=lzma2 -md=1536k -ms=on -mtm=off -mtc=off -mta=off -mtr=off
          -bso0 -bsp0 ${ARCHIVE} ${names} res
  WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "7zz failed: ${rc}")
endif()
