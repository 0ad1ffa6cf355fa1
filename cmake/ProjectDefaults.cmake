# Common settings for every target of the project.
function(project_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# A program goes into programs/<name>/ of the build tree, together with the files it looks up
# beside itself, so it runs straight from there.
function(add_program target)
    cmake_parse_arguments(P "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${target} ${P_SOURCES})
    project_defaults(${target})
    target_link_libraries(${target} PRIVATE ${P_LIBRARIES})
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/programs/${target})
endfunction()

# Copies a folder of read-only files beside a program, refreshed on every build.
function(add_program_files target source_dir dest_subdir)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${source_dir}
                $<TARGET_FILE_DIR:${target}>/${dest_subdir}
        VERBATIM)
endfunction()

# One Qt Test executable per tst_*.cpp file; each runs on the offscreen platform.
function(add_qt_tests)
    cmake_parse_arguments(T "" "PREFIX" "LIBRARIES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    foreach(source ${sources})
        get_filename_component(name ${source} NAME_WE)
        set(target ${T_PREFIX}_${name})
        add_executable(${target} ${source})
        project_defaults(${target})
        target_link_libraries(${target} PRIVATE Qt6::Test ${T_LIBRARIES})
        target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
        target_compile_definitions(${target} PRIVATE
            TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
            SHARED_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/../shared/fixtures")
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8" TIMEOUT 240)
    endforeach()
endfunction()
