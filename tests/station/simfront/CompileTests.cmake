# The compiler window's tests. Included from this folder's CMakeLists.txt and,
# for the ThreadSanitizer build, from tests/CMakeLists.txt (the thread test
# only, built together with target vorblen_tsan_tests).
set(_compile_test_dir ${CMAKE_CURRENT_LIST_DIR})

function(vorblen_compile_qtest name source labels)
  add_executable(${name} ${_compile_test_dir}/${source} ${_compile_test_dir}/CompileTestSupport.h)
  target_link_libraries(${name} PRIVATE vorblen_simfront vorblen_options vorblen_unit_emulator Qt6::Test)
  target_include_directories(${name} PRIVATE ${_compile_test_dir} ${PROJECT_SOURCE_DIR}/tests/station)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

find_package(Qt6 REQUIRED COMPONENTS Test)
if(NOT VORBLEN_TSAN)
  vorblen_compile_qtest(compiler_form_test CompilerFormTest.cpp "station;simfront")
endif()
vorblen_compile_qtest(compile_thread_test CompileThreadTest.cpp "station;simfront;tsan")
if(VORBLEN_TSAN)
  set_tests_properties(compile_thread_test PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;TSAN_OPTIONS=halt_on_error=1 suppressions=${_compile_test_dir}/tsan-qt.supp")
endif()
if(TARGET vorblen_tsan_tests)
  add_dependencies(vorblen_tsan_tests compile_thread_test)
endif()
