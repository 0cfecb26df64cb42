# Window templates: the readable .tvw sources of a program's windows are
# compiled by tools/compile_template.py into one assembler file of template
# data (symbols TulvexTemplateData and TulvexTemplateDataSize, declared in
# runtime/windows/templates/template_data.h) that is linked into the program.
# Include this file at directory scope: it enables the ASM language.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
enable_language(ASM)

# tulvex_add_window_templates(target [SYMBOL name] source.tvw...)
# SYMBOL names the data (default TulvexTemplateData; <name>Size beside it).
function(tulvex_add_window_templates target)
  cmake_parse_arguments(ARG "" "SYMBOL" "" ${ARGN})
  if(NOT ARG_SYMBOL)
    set(ARG_SYMBOL TulvexTemplateData)
  endif()
  set(sources)
  foreach(source ${ARG_UNPARSED_ARGUMENTS})
    get_filename_component(path ${source} ABSOLUTE)
    list(APPEND sources ${path})
  endforeach()
  set(compiler ${PROJECT_SOURCE_DIR}/tools/compile_template.py)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${ARG_SYMBOL}.S)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${Python3_EXECUTABLE} ${compiler} -o ${output} --symbol ${ARG_SYMBOL} ${sources}
    DEPENDS ${sources} ${compiler}
    COMMENT "Compiling the window templates of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
