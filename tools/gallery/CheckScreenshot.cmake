# Runs the gallery with --screenshot and checks that it wrote a real, full
# PNG picture: the PNG signature, a picture at least as large as the
# gallery's column of sections, and far more bytes than a blank picture of
# that size compresses to.
# Usage: cmake -DGALLERY=<gallery program> -DSHOT=<png file> -P CheckScreenshot.cmake
file(REMOVE "${SHOT}")
execute_process(COMMAND "${GALLERY}" --screenshot "${SHOT}" RESULT_VARIABLE status
                TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The gallery ended with status ${status}.")
endif()
if(NOT EXISTS "${SHOT}")
  message(FATAL_ERROR "The gallery wrote no screenshot to ${SHOT}.")
endif()

file(READ "${SHOT}" header LIMIT 24 HEX)
string(SUBSTRING "${header}" 0 32 signature)
if(NOT signature STREQUAL "89504e470d0a1a0a0000000d49484452")
  message(FATAL_ERROR "The screenshot is not a PNG file (starts ${signature}).")
endif()
string(SUBSTRING "${header}" 32 8 width_hex)
string(SUBSTRING "${header}" 40 8 height_hex)
math(EXPR width "0x${width_hex}")
math(EXPR height "0x${height_hex}")
if(width LESS 1000 OR height LESS 2000)
  message(FATAL_ERROR "The screenshot is only ${width} x ${height} pixels.")
endif()

# A blank picture of that size compresses to a few kilobytes; the artwork,
# dialogs and texts take hundreds.
file(SIZE "${SHOT}" bytes)
if(bytes LESS 200000)
  message(FATAL_ERROR "The screenshot has only ${bytes} bytes: it shows next to nothing.")
endif()
message(STATUS "Gallery screenshot ${width} x ${height}, ${bytes} bytes: ${SHOT}")
