# Starts the GUI host under Xvfb with a script and checks the screenshot it takes.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
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
if(NOT EXISTS ${WORKDIR}/${SHOT})
  message(FATAL_ERROR "no screenshot ${SHOT}\n${out}\n${err}")
endif()
file(SIZE ${WORKDIR}/${SHOT} size)
if(size LESS 2000)
  message(FATAL_ERROR "the screenshot ${SHOT} is suspiciously small (${size} bytes)")
endif()
