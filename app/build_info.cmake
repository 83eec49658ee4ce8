# Writes build_info.cpp with the version, the commit and the day of this build. Run on
# every build; the file is rewritten only when a value changed, so nothing is compiled
# again for a build of the same commit on the same day.
#   cmake -DSOURCE_DIR=... -DOUTPUT=.../build_info.cpp -DVERSION=1.0 -P build_info.cmake
# The commit comes from git when SOURCE_DIR is the top of a work tree, else from the file
# .build-commit in SOURCE_DIR (scripts/package-deb.sh writes one into the copy it builds).
set(commit unknown)
find_program(GIT git)
if(GIT)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --show-toplevel
                  OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(top)
  file(REAL_PATH "${top}" top)
  file(REAL_PATH "${SOURCE_DIR}" source)
endif()
if(top AND top STREQUAL source)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} diff --quiet HEAD --
                  RESULT_VARIABLE changed ERROR_QUIET)
  if(NOT changed EQUAL 0)
    string(APPEND commit "-modified")
  endif()
elseif(EXISTS ${SOURCE_DIR}/.build-commit)
  file(STRINGS ${SOURCE_DIR}/.build-commit commit LIMIT_COUNT 1)
endif()
if(NOT commit MATCHES "^[0-9a-f]+(-modified)?$")
  set(commit unknown)
endif()
# The day of the build; string(TIMESTAMP) takes SOURCE_DATE_EPOCH when it is set, as
# reproducible package builds set it.
string(TIMESTAMP date "%Y-%m-%d" UTC)
file(CONFIGURE OUTPUT ${OUTPUT} @ONLY CONTENT [=[
// Written by app/build_info.cmake on every build.
#include "app/build_info.h"

const BuildInfo& buildInfo() {
    static const BuildInfo info{"@VERSION@", "@commit@", "@date@"};
    return info;
}
]=])
