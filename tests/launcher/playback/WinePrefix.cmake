# The Wine prefix that the tests running the game through Wine share, made
# afresh once per test run (cmake -DPREFIX=<folder> -DACTION=make|stop -P).
# "stop" ends the prefix's Wine server, which would otherwise linger.
find_program(WINE wine)
find_program(WINESERVER wineserver PATHS /usr/lib/wine)
if(NOT WINE OR NOT WINESERVER)
    message(FATAL_ERROR "Wine is not installed: scripts/install-deps.sh installs it")
endif()
set(env ${CMAKE_COMMAND} -E env --unset=DISPLAY WINEPREFIX=${PREFIX} WINEDEBUG=-all
    # No prompts for the .NET and HTML engines, which the game does not use.
    "WINEDLLOVERRIDES=mscoree,mshtml=")
if(ACTION STREQUAL "make")
    file(REMOVE_RECURSE ${PREFIX})
    # Its output goes to a file: services it starts keep a pipe open long
    # after it has ended.
    execute_process(COMMAND ${env} ${WINE} wineboot -i RESULT_VARIABLE result
        OUTPUT_FILE ${PREFIX}.log ERROR_FILE ${PREFIX}.log)
    # The services wineboot started would linger for seconds; ending them
    # ends the server, which writes the registry files as it goes.
    execute_process(COMMAND ${env} ${WINESERVER} -k)
    if(NOT result EQUAL 0 OR NOT EXISTS ${PREFIX}/system.reg)
        message(FATAL_ERROR "wineboot could not make the prefix ${PREFIX} (${result}): see ${PREFIX}.log")
    endif()
else()
    execute_process(COMMAND ${env} ${WINESERVER} -k OUTPUT_QUIET ERROR_QUIET)
endif()
