# Shared text rules, the text codec and profile (INI) files.
target_sources(qvr_common PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TextRules.cpp ${CMAKE_CURRENT_LIST_DIR}/TextRules.h
    ${CMAKE_CURRENT_LIST_DIR}/TextCodec.cpp ${CMAKE_CURRENT_LIST_DIR}/TextCodec.h
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.h
)
