# Cross-build for 64-bit Windows (test builds where the machine cannot run 32-bit code).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
