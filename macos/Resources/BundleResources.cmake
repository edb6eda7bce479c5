# The resources Routelle.app carries, by the names the program asks its bundle for,
# drawn as SVG in this folder and rendered when built: the status item's images and
# the chooser's close button as PNG at 16 points (1x and 2x), the application icon as
# .icns, the acknowledgements as PDF. The Mac build puts them in the bundle; on Linux
# the tests render them the same way and look for every name the core uses.
set(ROUTELLE_BUNDLE_IMAGES StatusBarButtonImage StatusBarButtonImage2 StatusBarButtonImage3 close)
set(ROUTELLE_BUNDLE_ICON AppIcon)
set(ROUTELLE_BUNDLE_DOCUMENTS Acknowledgments)

# Renders them into `out_dir` (a custom target `target` builds them); the list of
# files made is returned in `out_files`.
function(routelle_render_bundle_resources target out_dir out_files)
  set(src ${CMAKE_SOURCE_DIR}/macos/Resources)
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)  # librsvg (Debian: librsvg2-bin; Homebrew: librsvg)
  find_program(ICONUTIL iconutil)                   # on a Mac
  if(NOT ICONUTIL)
    find_program(PNG2ICNS png2icns REQUIRED)        # Debian: icnsutils
  endif()
  set(files)
  foreach(name ${ROUTELLE_BUNDLE_IMAGES})
    add_custom_command(OUTPUT ${out_dir}/${name}.png ${out_dir}/${name}@2x.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
      COMMAND ${RSVG_CONVERT} -w 16 -h 16 ${src}/${name}.svg -o ${out_dir}/${name}.png
      COMMAND ${RSVG_CONVERT} -w 32 -h 32 ${src}/${name}.svg -o ${out_dir}/${name}@2x.png
      DEPENDS ${src}/${name}.svg VERBATIM)
    list(APPEND files ${out_dir}/${name}.png ${out_dir}/${name}@2x.png)
  endforeach()
  foreach(name ${ROUTELLE_BUNDLE_DOCUMENTS})
    add_custom_command(OUTPUT ${out_dir}/${name}.pdf
      COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
      COMMAND ${RSVG_CONVERT} -f pdf ${src}/${name}.svg -o ${out_dir}/${name}.pdf
      DEPENDS ${src}/${name}.svg VERBATIM)
    list(APPEND files ${out_dir}/${name}.pdf)
  endforeach()
  # Every size an .icns holds, from the one drawing.
  set(iconset ${CMAKE_CURRENT_BINARY_DIR}/${ROUTELLE_BUNDLE_ICON}.iconset)
  set(icon_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${iconset} ${out_dir})
  set(pngs)
  foreach(side 16 32 128 256 512)
    math(EXPR double "${side} * 2")
    list(APPEND icon_commands
      COMMAND ${RSVG_CONVERT} -w ${side} -h ${side} ${src}/${ROUTELLE_BUNDLE_ICON}.svg -o ${iconset}/icon_${side}x${side}.png
      COMMAND ${RSVG_CONVERT} -w ${double} -h ${double} ${src}/${ROUTELLE_BUNDLE_ICON}.svg -o ${iconset}/icon_${side}x${side}@2x.png)
    list(APPEND pngs ${iconset}/icon_${side}x${side}.png)
  endforeach()
  if(ICONUTIL)
    list(APPEND icon_commands COMMAND ${ICONUTIL} -c icns ${iconset} -o ${out_dir}/${ROUTELLE_BUNDLE_ICON}.icns)
  else()
    # png2icns takes one image per size (16 to 1024 pixels).
    list(APPEND icon_commands COMMAND ${PNG2ICNS} ${out_dir}/${ROUTELLE_BUNDLE_ICON}.icns ${pngs}
         ${iconset}/icon_512x512@2x.png)
  endif()
  add_custom_command(OUTPUT ${out_dir}/${ROUTELLE_BUNDLE_ICON}.icns ${icon_commands}
    DEPENDS ${src}/${ROUTELLE_BUNDLE_ICON}.svg VERBATIM)
  list(APPEND files ${out_dir}/${ROUTELLE_BUNDLE_ICON}.icns)
  add_custom_target(${target} DEPENDS ${files})
  set(${out_files} ${files} PARENT_SCOPE)
endfunction()
