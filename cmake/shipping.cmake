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

set(POLICY_TEMPLATES ${CMAKE_SOURCE_DIR}/policies/Corvane-Sweepmere.admx ${CMAKE_SOURCE_DIR}/policies/en-US/Corvane-Sweepmere.adml)

set(SETUP_EXE ${CMAKE_BINARY_DIR}/bin/CorvaneSweepmere-${CORVANE_VERSION}-setup.exe)
add_custom_command(OUTPUT ${SETUP_EXE}
  COMMAND ${MAKENSIS} -V2 -DEXE=$<TARGET_FILE:CorvaneSweepmere> -DCLI=$<TARGET_FILE:sweepmere> -DCHM=${HELP_CHM}
          -DICON=${CMAKE_SOURCE_DIR}/res/images/app.ico -DOUTFILE=${SETUP_EXE} -DVERSION=${CORVANE_VERSION}
          -DPOLICIES=${CMAKE_SOURCE_DIR}/policies ${CMAKE_SOURCE_DIR}/installer/CorvaneSweepmere.nsi
  DEPENDS CorvaneSweepmere sweepmere ${HELP_CHM} ${CMAKE_SOURCE_DIR}/installer/CorvaneSweepmere.nsi ${POLICY_TEMPLATES}
  COMMENT "Building the installer")
add_custom_target(installer ALL DEPENDS ${SETUP_EXE})

# The MSI for deployment tools (wixl, from msitools). wixl takes its sources by names relative to
# the folder it runs in, so everything it packs is staged in build/msi first.
find_program(WIXL wixl)
if(NOT WIXL)
  message(FATAL_ERROR "wixl (msitools) is needed: run scripts/deps.sh")
endif()
set(SETUP_MSI ${CMAKE_BINARY_DIR}/bin/CorvaneSweepmere-${CORVANE_VERSION}.msi)
set(MSI_STAGE ${CMAKE_BINARY_DIR}/msi)
add_custom_command(OUTPUT ${SETUP_MSI}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MSI_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MSI_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:CorvaneSweepmere> $<TARGET_FILE:sweepmere> ${HELP_CHM} ${POLICY_TEMPLATES}
          ${CMAKE_SOURCE_DIR}/res/images/app.ico ${CMAKE_SOURCE_DIR}/installer/CorvaneSweepmere.wxs ${MSI_STAGE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${MSI_STAGE} ${WIXL} -a x64 -D EXE=CorvaneSweepmere.exe -D CLI=sweepmere.exe -D CHM=HELP.chm
          -D ADMX=Corvane-Sweepmere.admx -D ADML=Corvane-Sweepmere.adml -D ICON=app.ico -D VERSION=${CORVANE_VERSION}
          -o ${SETUP_MSI} CorvaneSweepmere.wxs
  DEPENDS CorvaneSweepmere sweepmere ${HELP_CHM} ${POLICY_TEMPLATES} ${CMAKE_SOURCE_DIR}/installer/CorvaneSweepmere.wxs
  COMMENT "Building the MSI")
add_custom_target(msi ALL DEPENDS ${SETUP_MSI})
