# What ships besides the exe: the help file (compiled from docs/help with chmcmd) and the
# Windows installer (makensis). Both are built by default; scripts/deps.sh installs the tools.
find_program(CHMCMD chmcmd)
find_program(MAKENSIS makensis)
if(NOT CHMCMD OR NOT MAKENSIS)
  message(FATAL_ERROR "chmcmd (fp-utils) and makensis (nsis) are needed: run scripts/deps.sh")
endif()

# chmcmd writes beside its project file, so it compiles a copy in the build folder.
file(GLOB HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*)
set(HELP_CHM ${CMAKE_BINARY_DIR}/bin/HELP.chm)
add_custom_command(OUTPUT ${HELP_CHM}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/docs/help ${CMAKE_BINARY_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E chdir help ${CHMCMD} HELP.hhp
  COMMAND ${CMAKE_COMMAND} -E copy help/HELP.chm ${HELP_CHM}
  DEPENDS ${HELP_SOURCES}
  COMMENT "Compiling the help file")
add_custom_target(help_file ALL DEPENDS ${HELP_CHM})

set(SETUP_EXE ${CMAKE_BINARY_DIR}/bin/CorvaneSweepmere-${CORVANE_VERSION}-setup.exe)
add_custom_command(OUTPUT ${SETUP_EXE}
  COMMAND ${MAKENSIS} -V2 -DEXE=$<TARGET_FILE:CorvaneSweepmere> -DCLI=$<TARGET_FILE:sweepmere> -DCHM=${HELP_CHM}
          -DICON=${CMAKE_SOURCE_DIR}/res/images/app.ico -DOUTFILE=${SETUP_EXE} -DVERSION=${CORVANE_VERSION}
          ${CMAKE_SOURCE_DIR}/installer/CorvaneSweepmere.nsi
  DEPENDS CorvaneSweepmere sweepmere ${HELP_CHM} ${CMAKE_SOURCE_DIR}/installer/CorvaneSweepmere.nsi
  COMMENT "Building the installer")
add_custom_target(installer ALL DEPENDS ${SETUP_EXE})
