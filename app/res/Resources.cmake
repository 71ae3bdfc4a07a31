# orv_add_resources(<target>): compiles the program's resources (Orvendex.rc: manifest, version
# block, icons, pictures) into <target>. The icons and pictures are drawn by artwork.py at build time,
# and the manifest is made for the build's processor, into the calling folder's build directory;
# they are derived files and never part of the sources.
# Call it from the folder that defines <target> (the drawing step belongs to that folder), in the
# Windows builds only.

find_package(Python3 3.9 COMPONENTS Interpreter REQUIRED)

set(ORV_RES_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(orv_add_resources target)
  if(NOT WIN32)
    message(FATAL_ERROR "orv_add_resources(${target}): resources exist in the Windows builds only")
  endif()
  set(script ${ORV_RES_SOURCE_DIR}/artwork.py)
  set(rc ${ORV_RES_SOURCE_DIR}/Orvendex.rc)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/artwork)
  set(artwork ${out}/MainIcon.ico ${out}/WindowIcon.ico ${out}/GeneralPicture.bmp
              ${out}/AboutPicture.bmp)

  # One drawing step per folder, shared by every target of that folder.
  get_property(drawn DIRECTORY PROPERTY ORV_ARTWORK_DRAWN)
  if(NOT drawn)
    add_custom_command(
      OUTPUT ${artwork}
      COMMAND ${Python3_EXECUTABLE} ${script} ${out}
      DEPENDS ${script}
      COMMENT "Drawing the program's icons and pictures"
      VERBATIM)
    set_property(DIRECTORY PROPERTY ORV_ARTWORK_DRAWN TRUE)
  endif()

  # The manifest names the build's processor in its GDI+ dependency.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ORV_MANIFEST_ARCH amd64)
  else()
    set(ORV_MANIFEST_ARCH x86)
  endif()
  configure_file(${ORV_RES_SOURCE_DIR}/Orvendex.manifest.in ${out}/Orvendex.manifest @ONLY)

  target_sources(${target} PRIVATE ${rc})
  # windres looks for the files the .rc names along its include path.
  target_include_directories(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:${out}> $<$<COMPILE_LANGUAGE:RC>:${ORV_RES_SOURCE_DIR}>)
  # The dependency scan of .rc files follows #include only: name the files it embeds.
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${artwork} ${out}/Orvendex.manifest)
endfunction()
