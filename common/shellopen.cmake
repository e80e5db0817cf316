# Starting programs as the Windows shell's "open" did.
target_sources(qvr_common PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.h)
