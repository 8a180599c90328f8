# Runs the built quillfret-check (under the emulator in the Windows build)
# and checks exit codes and report lines.
string(REPLACE "|" ";" emulator "${EMULATOR}")

function(expect_run expected_code expected_text)
  execute_process(COMMAND ${emulator} ${PROGRAM} ${ARGN}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code STREQUAL "${expected_code}")
    message(FATAL_ERROR "quillfret-check ${ARGN}: exit code ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  string(FIND "${out}${err}" "${expected_text}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "quillfret-check ${ARGN}: no \"${expected_text}\" in\n${out}${err}")
  endif()
endfunction()

expect_run(0 "Quillfret would load 12 mappings from 12 entries; 0 skipped or storing nothing; 0 warnings."
           ${SAMPLES}/HomeRowScale.json)
expect_run(0 "\"exit_code\": 0" --json ${SAMPLES}/HomeRowScale.json)
expect_run(2 "syntax error at line 5, column" ${BROKEN} ${SAMPLES}/KeyMapping.cfg)
expect_run(2 "Usage: quillfret-check")
expect_run(0 "quillfret-check ${VERSION}" --version)
