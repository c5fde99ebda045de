# Renders the artwork from the SVG sources of this folder and writes artwork.rc, which puts the
# pictures into the program: each PNG picture in its four sizes (100, 125, 150 and 200 % under
# consecutive ids, see resources/artwork.h) and the application icon in all of its sizes.
find_program(NVX_RSVG_CONVERT rsvg-convert)
find_program(NVX_IMAGE_CONVERT convert)
if(NOT NVX_RSVG_CONVERT OR NOT NVX_IMAGE_CONVERT)
    message(FATAL_ERROR "The artwork needs rsvg-convert and ImageMagick's convert (scripts/setup.sh)")
endif()

set(NVX_ART_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(NVX_ART_BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/art)
file(MAKE_DIRECTORY ${NVX_ART_BINARY_DIR})

function(nvx_render_svg name out_var)
    set(png ${NVX_ART_BINARY_DIR}/${name}.png)
    add_custom_command(
        OUTPUT ${png}
        COMMAND ${NVX_RSVG_CONVERT} --format=png -o ${png} ${NVX_ART_SOURCE_DIR}/${name}.svg
        DEPENDS ${NVX_ART_SOURCE_DIR}/${name}.svg
        COMMENT "Rendering ${name}.png"
        VERBATIM)
    set(${out_var} ${png} PARENT_SCOPE)
endfunction()

set(rendered "")
set(rc_lines "")

# Base id, then the picture's file name stem.
set(pictures 106 close 110 minimize 114 maximize 118 restore 129 logo 144 chevron_strip
    153 check_on 157 check_off 161 expand_up 165 expand_down)
while(pictures)
    list(POP_FRONT pictures id name)
    foreach(scale 100 125 150 200)
        nvx_render_svg(${name}_${scale} png)
        list(APPEND rendered ${png})
        string(APPEND rc_lines "${id} PNG \"${png}\"\n")
        math(EXPR id "${id} + 1")
    endforeach()
endwhile()

set(icon_pngs "")
foreach(size 16 24 32 48 64 128 256)
    nvx_render_svg(icon_${size} png)
    list(APPEND icon_pngs ${png})
endforeach()
set(icon ${NVX_ART_BINARY_DIR}/webinstaller.ico)
add_custom_command(
    OUTPUT ${icon}
    COMMAND ${NVX_IMAGE_CONVERT} ${icon_pngs} ${icon}
    DEPENDS ${icon_pngs}
    COMMENT "Packing webinstaller.ico"
    VERBATIM)
list(APPEND rendered ${icon})

set(NVX_ARTWORK_RC ${CMAKE_CURRENT_BINARY_DIR}/artwork.rc)
file(CONFIGURE OUTPUT ${NVX_ARTWORK_RC} CONTENT
    "// Written by resources/art/Artwork.cmake.\n101 ICON \"${icon}\"\n${rc_lines}")
set_source_files_properties(${NVX_ARTWORK_RC} PROPERTIES OBJECT_DEPENDS "${rendered}")
