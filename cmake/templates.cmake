# Window templates: the readable .tvw sources of a program's windows are
# compiled by tools/compile_template.py into one assembler file of template
# data (symbols TulvexTemplateData and TulvexTemplateDataSize) that is linked
# into the program. Include this file at directory scope (it enables ASM).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
enable_language(ASM)

# tulvex_add_window_templates(target source.tvw...)
function(tulvex_add_window_templates target)
  set(sources)
  foreach(source ${ARGN})
    get_filename_component(path ${source} ABSOLUTE)
    list(APPEND sources ${path})
  endforeach()
  set(compiler ${PROJECT_SOURCE_DIR}/tools/compile_template.py)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_templates.S)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${Python3_EXECUTABLE} ${compiler} -o ${output} ${sources}
    DEPENDS ${sources} ${compiler}
    COMMENT "Compiling the window templates of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
