# Builds the release zip with CPack and unpacks it into a folder made empty first, as a user
# would: the package test then starts the program from there.
# Usage: cmake -DCPACK=<cpack> -DBUILD=<build dir> -DZIP=<zip> -DFOLDER=<folder> -P package.cmake
file(REMOVE ${ZIP})
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake
    WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed OR NOT EXISTS ${ZIP})
    message(FATAL_ERROR "cpack did not make ${ZIP}:\n${output}")
endif()
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${FOLDER})
message(STATUS "${ZIP} unpacked into ${FOLDER}")
