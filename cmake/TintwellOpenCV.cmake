# OpenCV's core and imgproc as one target, TintwellOpenCV, for the colouring
# pages and the benchmarks. Debian ships OpenCV's CMake package files only in
# libopencv-dev, which depends on every OpenCV module; the two packages used
# here (libopencv-core-dev, libopencv-imgproc-dev) hold headers and libraries
# only. Without the package files the two libraries are found directly.
if(TARGET TintwellOpenCV)
  return()
endif()

find_package(OpenCV QUIET COMPONENTS core imgproc)
add_library(TintwellOpenCV INTERFACE)
if(OpenCV_FOUND)
  target_include_directories(TintwellOpenCV SYSTEM INTERFACE ${OpenCV_INCLUDE_DIRS})
  target_link_libraries(TintwellOpenCV INTERFACE ${OpenCV_LIBS})
else()
  find_path(TINTWELL_OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
  find_library(TINTWELL_OPENCV_CORE_LIBRARY opencv_core)
  find_library(TINTWELL_OPENCV_IMGPROC_LIBRARY opencv_imgproc)
  if(NOT TINTWELL_OPENCV_INCLUDE_DIR OR NOT TINTWELL_OPENCV_CORE_LIBRARY
     OR NOT TINTWELL_OPENCV_IMGPROC_LIBRARY)
    message(FATAL_ERROR "OpenCV core and imgproc are missing: run scripts/install-deps.sh")
  endif()
  target_include_directories(TintwellOpenCV SYSTEM INTERFACE ${TINTWELL_OPENCV_INCLUDE_DIR})
  target_link_libraries(TintwellOpenCV INTERFACE
    ${TINTWELL_OPENCV_IMGPROC_LIBRARY} ${TINTWELL_OPENCV_CORE_LIBRARY})
endif()
