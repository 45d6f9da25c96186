# cmake -DTOOL=... -DOUT=.../zizozudu.1.gz -P ManPage.cmake
# The tool's man page, made by help2man from its --help and --version; the subcommands' own --help
# texts go in as a section of their own, since the top-level help only names them.
foreach(var TOOL OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ManPage.cmake: ${var} not set")
  endif()
endforeach()
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

get_filename_component(dir ${OUT} DIRECTORY)
string(REGEX REPLACE "\\.gz$" "" page ${OUT})
set(include_file ${dir}/zizozudu.h2m)
set(text "[COMMANDS]\n")
foreach(command import recognise convert)
  execute_process(COMMAND ${TOOL} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${command} --help failed (${status})")
  endif()
  # roff: a leading dot or quote would start a request; backslashes are escapes.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(APPEND text ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
string(APPEND text "[SEE ALSO]\nThe Zizozudu README and win32/README.md (the Windows plug-in).\n")
file(WRITE ${include_file} "${text}")

execute_process(
  COMMAND ${HELP2MAN} --no-info --section=1 --source=Zizozudu
          "--name=import a Gerber file through the Zizozudu importer into an in-memory board, or convert it into one the importer reads whole"
          --include=${include_file} --output=${page} ${TOOL}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed (${status})")
endif()
# -n: no name or time stamp in the archive, so the same page gives the same file.
execute_process(COMMAND ${GZIP} -9nf ${page} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip ${page} failed (${status})")
endif()
