# Reads each module's dynamic symbol table: `_mod_descrip` must be the one
# symbol it defines. Run with -DNM=<nm> -DMODULES=<a;b;c>.
foreach(module IN LISTS MODULES)
  execute_process(COMMAND ${NM} -D --defined-only ${module}
                  OUTPUT_VARIABLE table RESULT_VARIABLE status ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} could not read ${module}: ${error}")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${table}")
  set(defined "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" symbol "${line}")
    list(APPEND defined "${symbol}")
  endforeach()
  if(NOT defined STREQUAL "_mod_descrip")
    message(FATAL_ERROR "${module} exports [${defined}], not just _mod_descrip")
  endif()
  message(STATUS "${module}: exports _mod_descrip only")
endforeach()
