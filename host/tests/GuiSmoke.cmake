# Starts the GUI host under Xvfb with a script and checks the screenshot it takes; with
# FIRST_SHOT, that an earlier screenshot differs; with INI_MATCH, the host's settings file; with SAME_AS_BATCH, that the script prints the
# same headless.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
if(INI_MATCH)
  file(REMOVE $ENV{XDG_CONFIG_HOME}/Wendrik/Tessaron.ini)
endif()
set(ENV{SOURCE} ${SOURCEDIR})
set(ENV{WORK} ${WORKDIR})
execute_process(
  COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x900x24" ${HOST} --script ${SCRIPT} ${PLUGIN}
  WORKING_DIRECTORY ${WORKDIR}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 100)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "host exited with ${rc}\n${out}\n${err}")
endif()
if(err MATCHES "Gtk-CRITICAL")
  message(FATAL_ERROR "${err}")
endif()
foreach(shot ${SHOT} ${FIRST_SHOT})
  if(NOT EXISTS ${WORKDIR}/${shot})
    message(FATAL_ERROR "no screenshot ${shot}\n${out}\n${err}")
  endif()
  file(SIZE ${WORKDIR}/${shot} size)
  if(size LESS 2000)
    message(FATAL_ERROR "the screenshot ${shot} is suspiciously small (${size} bytes)")
  endif()
endforeach()
# A capture taken earlier of a different screen must differ from the last one.
if(FIRST_SHOT)
  file(SHA256 ${WORKDIR}/${FIRST_SHOT} first)
  file(SHA256 ${WORKDIR}/${SHOT} last)
  if(first STREQUAL last)
    message(FATAL_ERROR "${FIRST_SHOT} and ${SHOT} are the same image")
  endif()
endif()
# The host's own settings file holds what the run should have left there (a dialog's place).
if(INI_MATCH)
  file(READ $ENV{XDG_CONFIG_HOME}/Wendrik/Tessaron.ini ini)
  if(NOT ini MATCHES "${INI_MATCH}")
    message(FATAL_ERROR "Tessaron.ini lacks ${INI_MATCH}:\n${ini}")
  endif()
endif()
# The script prints the same in the window as headless.
if(SAME_AS_BATCH)
  execute_process(
    COMMAND ${HOST} --batch ${SCRIPT} ${PLUGIN}
    WORKING_DIRECTORY ${WORKDIR}
    RESULT_VARIABLE brc OUTPUT_VARIABLE bout ERROR_VARIABLE berr TIMEOUT 60)
  if(NOT brc EQUAL 0)
    message(FATAL_ERROR "the batch run exited with ${brc}\n${bout}\n${berr}")
  endif()
  if(NOT out STREQUAL bout)
    message(FATAL_ERROR "window output:\n${out}\ndiffers from batch output:\n${bout}")
  endif()
  if(NOT out MATCHES "error: Error reading data")
    message(FATAL_ERROR "the error box of the failed load is not in the message log:\n${out}")
  endif()
endif()
