# Project-wide helpers.

function(wl_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# wl_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI] [LABELS <l...>])
# A QtTest executable registered with CTest. Tests without GUI run on the
# offscreen platform; GUI tests need a display (the test command runs the
# suite under xvfb-run) and carry the "gui" label.
function(wl_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  wl_warnings(${name})
  # The test programs themselves do little work; the code they exercise is
  # optimised in its libraries. Unoptimised test code compiles much faster.
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    target_compile_options(${name} PRIVATE -O0)
  endif()
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "ASAN_OPTIONS=detect_leaks=0:abort_on_error=0"
          "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
          "WL_APP_DIR=${WL_APP_DIR}"
          "WL_TEST_DATA_DIR=${CMAKE_BINARY_DIR}/tests/data"
          "WL_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  set(labels ${T_LABELS})
  if(T_GUI)
    list(APPEND labels gui)
  else()
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
  if(labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  endif()
endfunction()

# wl_library(<target> [LIBS <targets...>]): one static library per source
# folder, made of every source, header and form in it.
function(wl_library target)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${L_LIBS})
  wl_warnings(${target})
endfunction()

# wl_test_dir(LIBS <targets...> [HELPERS <files...>]): every tst_*.cpp of the
# calling folder becomes one test; files named tst_*_gui.cpp need a display.
# HELPERS are fixture sources compiled into each test of the folder.
function(wl_test_dir)
  cmake_parse_arguments(D "" "" "LIBS;HELPERS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    set(name ${folder}_${stem})
    if(stem MATCHES "_gui$")
      wl_add_test(${name} SOURCES ${src} ${D_HELPERS} LIBS ${D_LIBS} GUI LABELS ${folder})
    else()
      wl_add_test(${name} SOURCES ${src} ${D_HELPERS} LIBS ${D_LIBS} LABELS ${folder})
    endif()
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  endforeach()
endfunction()
