# Starts the GUI host under Xvfb, presses a toolbar button and checks the screenshot.
file(REMOVE ${SHOT})
get_filename_component(dir ${SHOT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
execute_process(
  COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x900x24"
          ${HOST} --press ${CAPTION} --screenshot ${SHOT} ${PLUGIN}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 100)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "host exited with ${rc}\n${out}\n${err}")
endif()
if(err MATCHES "no toolbar button|cannot write|Gtk-CRITICAL")
  message(FATAL_ERROR "${err}")
endif()
if(NOT EXISTS ${SHOT})
  message(FATAL_ERROR "no screenshot was written")
endif()
file(SIZE ${SHOT} size)
if(size LESS 2000)
  message(FATAL_ERROR "the screenshot is suspiciously small (${size} bytes)")
endif()
