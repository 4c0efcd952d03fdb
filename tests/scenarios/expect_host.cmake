# Runs the command-line host once and checks its exit status and output, for the host's own tests
# of bad input and of its commands (a plain CTest registration cannot check both at once).
#
#   cmake -DHOST=path/to/quorvel -DARGS="run;file.json" -DSTATUS=2 -DPATTERN=regex -P expect_host.cmake
#   cmake -DHOST=... -DFILE=bad/x.json -P expect_host.cmake   (STATUS and PATTERN from bad/x.expect)
#   cmake -DHOST=... -DHUGE=out.json ...                      (first writes a file above the size limit)
#
# An .expect file holds the exit status on its first line and a regular expression for the output
# (standard output and error together) on its second; a third line "leaks" marks a test whose
# scenario leaks on purpose, so the leak sanitizer is told not to end the host for it.
cmake_minimum_required(VERSION 3.25)

if(DEFINED FILE)
  get_filename_component(dir ${FILE} DIRECTORY)
  get_filename_component(name ${FILE} NAME_WE)
  file(STRINGS ${dir}/${name}.expect lines)
  list(GET lines 0 STATUS)
  list(GET lines 1 PATTERN)
  string(REPLACE "\\n" "\n" PATTERN "${PATTERN}")  # a file cannot hold a newline inside one line
  list(LENGTH lines count)
  if(count GREATER 2)
    list(GET lines 2 extra)
    if(extra STREQUAL "leaks")
      set(ENV{ASAN_OPTIONS} "detect_leaks=0")
    endif()
  endif()
  set(ARGS run ${FILE})
endif()

if(DEFINED HUGE)
  # 17 MiB of blanks inside a valid array: refused for its size before any parsing.
  string(REPEAT " " 1048576 mebibyte)
  file(WRITE ${HUGE} "[")
  foreach(i RANGE 16)
    file(APPEND ${HUGE} "${mebibyte}")
  endforeach()
  file(APPEND ${HUGE} "]")
endif()

execute_process(COMMAND ${HOST} ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "quorvel ${ARGS}: exit status ${status}, expected ${STATUS}\n${all}")
endif()
if(NOT all MATCHES "${PATTERN}")
  message(FATAL_ERROR "quorvel ${ARGS}: output does not match \"${PATTERN}\"\n${all}")
endif()
