# PNG renderings of SVG drawings, for the Windows build, whose Qt has no SVG module: each drawing at
# the size the window shows it and at that size times every display scale Windows offers (125 % to
# 300 %), so that none needs to be scaled up. They are named NAME@WIDTHxHEIGHT.png beside the
# drawing's own resource path and compiled into the resource file RESOURCE_NAME.qrc of the target;
# src/ui/picture_png.cpp picks among them.
find_program(DRAVIK_RSVG_CONVERT rsvg-convert REQUIRED) # Debian: librsvg2-bin

# dravik_add_png_renderings(target resource_name svg WIDTHxHEIGHT [svg WIDTHxHEIGHT ...])
function(dravik_add_png_renderings target resource_name)
    set(scales 100 125 150 175 200 225 250 300)
    set(entries "")
    set(pictures ${ARGN})
    while(pictures)
        list(POP_FRONT pictures svg shown)
        string(REPLACE "x" ";" shown "${shown}")
        list(GET shown 0 width)
        list(GET shown 1 height)
        get_filename_component(folder ${svg} DIRECTORY)
        get_filename_component(name ${svg} NAME_WE)
        set(sizes)
        foreach(scale ${scales})
            # Rounded as Qt rounds a size times a pixel ratio.
            math(EXPR w "(${width} * ${scale} + 50) / 100")
            math(EXPR h "(${height} * ${scale} + 50) / 100")
            list(APPEND sizes ${w}x${h})
        endforeach()
        list(REMOVE_DUPLICATES sizes)
        foreach(size ${sizes})
            string(REPLACE "x" ";" pixels ${size})
            list(GET pixels 0 w)
            list(GET pixels 1 h)
            set(file ${folder}/${name}@${size}.png)
            add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${file}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/${folder}
                COMMAND ${DRAVIK_RSVG_CONVERT} -w ${w} -h ${h} -o ${CMAKE_CURRENT_BINARY_DIR}/${file}
                        ${CMAKE_CURRENT_SOURCE_DIR}/${svg}
                DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${svg}
                COMMENT "Rendering ${file}"
                VERBATIM)
            string(APPEND entries "    <file>${file}</file>\n")
        endforeach()
    endwhile()
    set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${resource_name}.qrc)
    file(CONFIGURE OUTPUT ${qrc}
        CONTENT "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n${entries}  </qresource>\n</RCC>\n")
    qt6_add_resources(sources ${qrc})
    target_sources(${target} PRIVATE ${sources})
endfunction()
