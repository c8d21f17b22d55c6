# Configures a small project that adds Rostima as a subdirectory, as another build would,
# and fails unless every program is among its targets.
# In: ROSTIMA_SOURCE (the repository), WORK_DIR (a scratch folder), GENERATOR.
file(REMOVE_RECURSE ${WORK_DIR})
file(WRITE ${WORK_DIR}/src/CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(Outer LANGUAGES CXX)
add_subdirectory(\"${ROSTIMA_SOURCE}\" rostima)
foreach(target RostimaShr RosOptions RosTest Tintora)
  if(NOT TARGET \${target})
    message(FATAL_ERROR \"\${target} is not built\")
  endif()
endforeach()
")
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/src -B ${WORK_DIR}/build -G "${GENERATOR}"
          -DROSTIMA_TESTS=OFF
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Configuring as a subdirectory failed:\n${output}")
endif()
