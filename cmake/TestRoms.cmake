# Build-time assembly of test programs and packing into test ROM sets.
#
# testrom_assemble(<target> CPU z80|v30|6502 SOURCE <file> OUTPUT <binary>
#                  [CONFIG <ld65 config>] [DEPENDS <included files>...])
#   Assembles a readable source into a flat binary with the Debian assemblers: nasm (cpu 186,
#   -f bin) for the V30, z80asm (or pasmo) for the Z80, ca65 + ld65 (CONFIG required) for the
#   6502. The source's folder is on the include path. <target> is a custom target that builds
#   the binary; a relative OUTPUT is placed in the current binary folder.
#
# testrom_generate(<game> GENERATOR <executable target> OUTPUTS <rom names>...
#                  [BINARIES <assembled binaries>...] [ARGS <more arguments>...])
#   Runs `<generator> <build>/testroms <ARGS...> <BINARIES...>` whenever the generator or a
#   binary changes; the generator writes <build>/testroms/<game>/<rom names>. Adds the target
#   testroms_<game>, built by default and by the umbrella target vortastr_testroms.

set(TESTROM_OUTPUT_DIR ${CMAKE_BINARY_DIR}/testroms CACHE INTERNAL "Folder of the generated test ROM sets")

add_custom_target(vortastr_testroms ALL)

find_program(TESTROM_NASM nasm)
find_program(TESTROM_Z80ASM z80asm)
find_program(TESTROM_PASMO pasmo)
find_program(TESTROM_CA65 ca65)
find_program(TESTROM_LD65 ld65)

function(testrom_assemble target)
  cmake_parse_arguments(ARG "" "CPU;SOURCE;OUTPUT;CONFIG" "DEPENDS" ${ARGN})
  if(NOT ARG_CPU OR NOT ARG_SOURCE OR NOT ARG_OUTPUT)
    message(FATAL_ERROR "testrom_assemble(${target}): CPU, SOURCE and OUTPUT are required")
  endif()
  get_filename_component(source ${ARG_SOURCE} ABSOLUTE)
  get_filename_component(output ${ARG_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  get_filename_component(source_dir ${source} DIRECTORY)
  get_filename_component(output_dir ${output} DIRECTORY)
  set(depends ${source} ${ARG_DEPENDS})

  if(ARG_CPU STREQUAL "v30")
    if(NOT TESTROM_NASM)
      message(FATAL_ERROR "nasm is needed to assemble ${ARG_SOURCE} (scripts/install-deps.sh installs it)")
    endif()
    set(commands COMMAND ${TESTROM_NASM} -f bin -w+error -I ${source_dir}/ -o ${output} ${source})
  elseif(ARG_CPU STREQUAL "z80")
    if(TESTROM_Z80ASM)
      set(commands COMMAND ${TESTROM_Z80ASM} -I ${source_dir} -o ${output} ${source})
    elseif(TESTROM_PASMO)
      set(commands COMMAND ${TESTROM_PASMO} -I ${source_dir} ${source} ${output})
    else()
      message(FATAL_ERROR "z80asm or pasmo is needed to assemble ${ARG_SOURCE} (scripts/install-deps.sh)")
    endif()
  elseif(ARG_CPU STREQUAL "6502")
    if(NOT TESTROM_CA65 OR NOT TESTROM_LD65)
      message(FATAL_ERROR "ca65/ld65 (cc65) are needed to assemble ${ARG_SOURCE} (scripts/install-deps.sh)")
    endif()
    if(NOT ARG_CONFIG)
      message(FATAL_ERROR "testrom_assemble(${target}): a 6502 source needs an ld65 CONFIG")
    endif()
    get_filename_component(config ${ARG_CONFIG} ABSOLUTE)
    set(object ${output}.o)
    set(commands
      COMMAND ${TESTROM_CA65} -I ${source_dir} -o ${object} ${source}
      COMMAND ${TESTROM_LD65} -C ${config} -o ${output} ${object})
    list(APPEND depends ${config})
  else()
    message(FATAL_ERROR "testrom_assemble(${target}): unknown CPU ${ARG_CPU} (z80, v30 or 6502)")
  endif()

  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    ${commands}
    DEPENDS ${depends}
    WORKING_DIRECTORY ${output_dir}
    COMMENT "Assembling ${ARG_SOURCE} (${ARG_CPU})"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${output})
endfunction()

function(testrom_generate game)
  cmake_parse_arguments(ARG "" "GENERATOR" "OUTPUTS;BINARIES;ARGS" ${ARGN})
  if(NOT ARG_GENERATOR OR NOT ARG_OUTPUTS)
    message(FATAL_ERROR "testrom_generate(${game}): GENERATOR and OUTPUTS are required")
  endif()
  set(outputs)
  foreach(name ${ARG_OUTPUTS})
    list(APPEND outputs ${TESTROM_OUTPUT_DIR}/${game}/${name})
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${ARG_GENERATOR} ${TESTROM_OUTPUT_DIR} ${ARG_ARGS} ${ARG_BINARIES}
    DEPENDS ${ARG_GENERATOR} ${ARG_BINARIES}
    COMMENT "Generating the ${game} test ROM set in ${TESTROM_OUTPUT_DIR}/${game}"
    VERBATIM)
  add_custom_target(testroms_${game} ALL DEPENDS ${outputs})
  add_dependencies(vortastr_testroms testroms_${game})
endfunction()
