# Checks that the program finds its sounds: the shared folders next to its
# own folder and the phrases file in it.
foreach(file
    "${PROGRAM_DIR}/../common/music/majiang.wav"
    "${PROGRAM_DIR}/../common/music/tishi.wav"
    "${PROGRAM_DIR}/../common/pk/sys010.wav"
    "${PROGRAM_DIR}/../common/pk/v1010101.wav"
    "${PROGRAM_DIR}/../common/tsroc/win.wav"
    "${PROGRAM_DIR}/chat.ini")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "the program cannot find ${file}")
  endif()
endforeach()
