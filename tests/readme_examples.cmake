# Each example file must appear in README.md word for word, so the README shows what the tests run.
file(READ ${SOURCE}/README.md readme)
foreach(example IN LISTS EXAMPLES)
  file(READ ${SOURCE}/${example} text)
  string(FIND "${readme}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "README.md does not show ${example} as it is")
  endif()
endforeach()
