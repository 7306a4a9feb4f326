# zuzided-view on files that do not read: each message names the file, and the line
# and column where there is one, and says what is wrong there.
#   cmake -DVIEW=zuzided-view -DWORK_DIR=... -P ReadErrors.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/number.fmx "object Form1: TForm\n  Width = 300\n  Height = 400.5.5\nend\n")
file(WRITE ${WORK_DIR}/open.fmx "object Form1: TForm\n  object Label1: TLabel\n    Text = 'hi'\n  end\n")
set(cases
  "missing.fmx|missing.fmx: no such file"
  "number.fmx|number.fmx:3:12: expected a number, found 400.5.5 (a number has one decimal point at most)"
  "open.fmx|open.fmx:5:1: expected 'end' closing the object Form1 (which starts at line 1), found the end of the text")
foreach(c ${cases})
  string(REPLACE "|" ";" c "${c}")
  list(GET c 0 file)
  list(GET c 1 want)
  execute_process(COMMAND ${VIEW} ${file} out.png WORKING_DIRECTORY ${WORK_DIR}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err STREQUAL "${want}\n" OR NOT out STREQUAL "")
    message(FATAL_ERROR "zuzided-view ${file}: exit ${rc}, said\n${out}${err}instead of\n${want}")
  endif()
endforeach()
