# Run by CPack in the package's staging folder: the programs move from usr/bin to usr/games.
file(GLOB staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/usr/bin"
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin")
foreach(bin ${staged})
  get_filename_component(usr ${bin} DIRECTORY)
  file(RENAME ${bin} ${usr}/games)
endforeach()
