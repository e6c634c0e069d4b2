# Project-wide helpers.

function(wl_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# Precompiled headers. Parsing the Qt headers is about half of what compiling
# a source of this project costs (more for the unoptimised test programs), so
# the Qt and standard headers most sources include are compiled once per
# kind of target and loaded by every source of that kind: one header for the
# widget-free libraries, one for the libraries with windows, and the same two
# for the test programs, which are compiled with other flags. The compiler
# checks that a header fits the source's flags and reads the headers as text
# where it does not, so a target whose flags differ still builds right.
# ccache caches these builds when told to accept precompiled headers (the
# compiler launcher set in CMakeLists.txt does so).
option(WL_PCH "Precompile the Qt and standard headers most sources include" ON)

set(WL_PCH_MODEL_HEADERS
    <algorithm> <cmath> <functional> <memory> <vector>
    <QtCore/QByteArray> <QtCore/QDataStream> <QtCore/QDebug> <QtCore/QDir> <QtCore/QFile>
    <QtCore/QFileInfo> <QtCore/QLineF> <QtCore/QList> <QtCore/QObject> <QtCore/QPoint> <QtCore/QPointF>
    <QtCore/QRect> <QtCore/QRectF> <QtCore/QSize> <QtCore/QString> <QtCore/QStringList>
    <QtCore/QTextStream> <QtCore/QVariant>
    <QtGui/QColor> <QtGui/QFont> <QtGui/QImage> <QtGui/QPainter> <QtGui/QPainterPath> <QtGui/QPolygon>
    <QtGui/QPolygonF> <QtGui/QTransform> <QtGui/QVector3D>)
set(WL_PCH_UI_HEADERS ${WL_PCH_MODEL_HEADERS}
    <QtGui/QAction> <QtGui/QKeyEvent> <QtGui/QMouseEvent> <QtGui/QWheelEvent>
    <QtWidgets/QApplication> <QtWidgets/QCheckBox> <QtWidgets/QDialog> <QtWidgets/QGridLayout>
    <QtWidgets/QGroupBox> <QtWidgets/QHBoxLayout> <QtWidgets/QLabel> <QtWidgets/QLineEdit>
    <QtWidgets/QMainWindow> <QtWidgets/QMenu> <QtWidgets/QPushButton> <QtWidgets/QSlider>
    <QtWidgets/QSpinBox> <QtWidgets/QSplitter> <QtWidgets/QTabWidget> <QtWidgets/QToolButton>
    <QtWidgets/QVBoxLayout> <QtWidgets/QWidget>)

# Whether the target reaches the Qt library through its own links or those
# of the project's libraries it links.
function(_wl_reaches_qt target qt out)
  set(todo ${target})
  set(seen)
  get_property(ours GLOBAL PROPERTY WL_TARGETS)
  while(todo)
    list(POP_FRONT todo t)
    if(t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    get_target_property(libs ${t} LINK_LIBRARIES)
    foreach(lib ${libs})
      if(lib STREQUAL qt)
        set(${out} ON PARENT_SCOPE)
        return()
      endif()
      if(lib IN_LIST ours OR lib STREQUAL "wl_testsupport")
        list(APPEND todo ${lib})
      endif()
    endforeach()
  endwhile()
  set(${out} OFF PARENT_SCOPE)
endfunction()

# _wl_use_pch(<target> <model|test>): the target loads the precompiled
# header of its kind (with windows when it reaches Qt Widgets); a target that
# reaches neither Qt Gui nor Qt Widgets has none. The header is made by a host
# target of the same flags, created at the first use.
function(_wl_use_pch target flavour)
  # clang refuses a header built with other macros instead of reading the
  # headers as text: the fuzzing build goes without.
  if(NOT WL_PCH OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    return()
  endif()
  _wl_reaches_qt(${target} Qt6::Widgets widgets)
  _wl_reaches_qt(${target} Qt6::Gui gui)
  if(widgets)
    set(host wl_pch_${flavour}_ui)
    set(headers ${WL_PCH_UI_HEADERS})
    set(qt Qt6::Widgets Qt6::Gui Qt6::Core)
  elseif(gui)
    set(host wl_pch_${flavour})
    set(headers ${WL_PCH_MODEL_HEADERS})
    set(qt Qt6::Gui Qt6::Core)
  else()
    return()
  endif()
  if(NOT TARGET ${host})
    set(empty ${CMAKE_BINARY_DIR}/pch/${host}.cpp)
    if(NOT EXISTS ${empty})
      file(WRITE ${empty} "// The source of the target that makes a precompiled header.\n")
    endif()
    add_library(${host} OBJECT ${empty})
    target_link_libraries(${host} PRIVATE ${qt})
    if(flavour STREQUAL "test")
      _wl_test_flags(${host})
    endif()
    target_precompile_headers(${host} PRIVATE ${headers})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
endfunction()

# A source compiled at an optimisation level of its own must not load the
# header precompiled at its target's (the compiler may crash on it); called
# once every library is made, as the sources get their options after it.
function(wl_pch_exceptions)
  get_property(ours GLOBAL PROPERTY WL_TARGETS)
  foreach(t ${ours})
    get_target_property(dir ${t} SOURCE_DIR)
    get_target_property(sources ${t} SOURCES)
    foreach(src ${sources})
      get_source_file_property(options ${src} DIRECTORY ${dir} COMPILE_OPTIONS)
      get_source_file_property(flags ${src} DIRECTORY ${dir} COMPILE_FLAGS)
      if("${options};${flags}" MATCHES "(^|[; ])-O")
        set_source_files_properties(${src} DIRECTORY ${dir} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      endif()
    endforeach()
  endforeach()
endfunction()

# What sets the test programs' compile flags apart from the libraries'.
function(_wl_test_flags target)
  # The test programs themselves do little work; the code they exercise is
  # optimised in its libraries. Unoptimised test code compiles much faster.
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    target_compile_options(${target} PRIVATE -O0)
  endif()
  # The sanitizers watch the code under test, which lives in the libraries;
  # instrumenting the test programs' own sources as well doubles their
  # compile time and finds nothing there that the libraries' checks and the
  # leak check (which covers the whole process) would not.
  if(WL_SANITIZE)
    get_target_property(options ${target} COMPILE_OPTIONS)
    if(options)
      list(REMOVE_ITEM options -fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=undefined)
      set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "${options}")
    endif()
    # A test that starts itself as a child must still know it runs sanitized.
    target_compile_definitions(${target} PRIVATE WL_SANITIZED=1)
  endif()
endfunction()

# wl_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI] [LABELS <l...>])
# A QtTest executable registered with CTest. Tests without GUI run on the
# offscreen platform; GUI tests need a display (the test command runs the
# suite under xvfb-run) and carry the "gui" label.
function(wl_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  # Every test program gets the shared test support, compiled once: the
  # scripted user interaction installed from the start, and the watchdog that
  # fails a test whose dialog nobody answers.
  if(NOT TARGET wl_testsupport)
    add_library(wl_testsupport OBJECT ${CMAKE_SOURCE_DIR}/tests/common/testsupport.cpp)
    target_link_libraries(wl_testsupport PUBLIC Qt6::Test Qt6::Gui wl_geom)
    wl_warnings(wl_testsupport)
    _wl_use_pch(wl_testsupport model)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE wl_testsupport Qt6::Test wl_geom ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  wl_warnings(${name})
  _wl_test_flags(${name})
  _wl_use_pch(${name} test)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
          "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
          "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
          "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent"
          "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent"
          "WL_APP_DIR=${WL_APP_DIR}"
          "WL_TEST_DATA_DIR=${CMAKE_BINARY_DIR}/tests/data"
          "WL_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
          # QtTest ends a test function after 5 minutes: on a machine whose
          # every core is busy a data-driven function of the main window
          # takes longer. Only the test's own time-out ends a hang.
          "QTEST_FUNCTION_TIMEOUT=1800000")
  set(labels ${T_LABELS})
  if(T_GUI)
    list(APPEND labels gui)
    # The software GL driver draws on rasteriser threads of its own, which
    # live until the process ends; LeakSanitizer's check at the exit stops
    # every thread and now and then crashes on one of them ("Tracer caught
    # signal 11"), failing a test whose every check passed. Drawn on the
    # calling thread the pictures are the same.
    list(APPEND env "LP_NUM_THREADS=0")
  else()
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  # The time-out only ends a hang: the slowest program takes about seven
  # minutes on a machine whose every core is busy.
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 1800)
  if(labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  endif()
endfunction()

# Layering. Every library of the project is made by wl_library and carries a
# kind and the level of its folder:
#   model   - widget-free computations of a folder (<folder>/*.cpp)
#   ui      - the folder's dialogs and views (<folder>/ui/*.cpp), or the
#             dialog helpers under every folder's dialogs (widgets/)
#   service - a small widget-free library that several subsystems call
#             (geom/, just above the core); it links only the core and other
#             services
#   program - a companion program's own library
# A library links only libraries of its own or an earlier folder; services
# live in geom/; model and service libraries never reach Qt Widgets; the
# graph has no cycle. wl_check_layering, run at the end of the configuration,
# fails the build otherwise.
set(WL_FOLDER_LEVELS
    core 10  geom 12  widgets 15  airfoils 30  shape 40  lines 50  structure 60  patterns 70
    graphics 80  aero 90  shell/model 95  shell 100  apps 100  tools 100  bench 100)
set(WL_SERVICE_FOLDER geom)
set(WL_WIDGET_LIBS Qt6::Widgets Qt6::OpenGLWidgets Qt6::PrintSupport)

function(_wl_folder_level dir out)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${dir})
  set(level 100)
  set(best "")
  set(levels ${WL_FOLDER_LEVELS})
  while(levels)
    list(POP_FRONT levels folder value)
    if(rel STREQUAL folder OR rel MATCHES "^${folder}/")
      string(LENGTH "${folder}" len)
      string(LENGTH "${best}" bestlen)
      if(len GREATER bestlen)
        set(best ${folder})
        set(level ${value})
      endif()
    endif()
  endwhile()
  # A folder's dialogs (<folder>/ui) sit just above its model.
  if(rel MATCHES "/ui$" AND NOT rel STREQUAL best)
    math(EXPR level "${level} + 5")
  endif()
  set(${out} ${level} PARENT_SCOPE)
endfunction()

# wl_library(<target> [KIND model|ui|service|program] [SOURCES <files...>]
#            [LIBS <targets...>])
# One static library; without SOURCES it is made of every source, header and
# form of the calling folder.
function(wl_library target)
  cmake_parse_arguments(L "" "KIND" "SOURCES;LIBS" ${ARGN})
  if(NOT L_KIND)
    set(L_KIND model)
  endif()
  if(L_SOURCES)
    set(srcs ${L_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
         ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  endif()
  add_library(${target} STATIC ${srcs})
  target_link_libraries(${target} PUBLIC ${L_LIBS})
  if(L_KIND STREQUAL "ui" OR L_KIND STREQUAL "program")
    # Headers of dialogs include their generated forms.
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/include)
    set_target_properties(${target} PROPERTIES AUTOUIC_SEARCH_PATHS ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  _wl_folder_level(${CMAKE_CURRENT_SOURCE_DIR} level)
  set_target_properties(${target} PROPERTIES WL_KIND ${L_KIND} WL_LEVEL ${level})
  set_property(GLOBAL APPEND PROPERTY WL_TARGETS ${target})
  wl_warnings(${target})
  _wl_use_pch(${target} model)
endfunction()

function(_wl_closure target out)
  get_property(done GLOBAL PROPERTY _WL_CLOSURE_DONE_${target})
  if(done)
    get_property(closure GLOBAL PROPERTY _WL_CLOSURE_${target})
    set(${out} ${closure} PARENT_SCOPE)
    return()
  endif()
  get_property(active GLOBAL PROPERTY _WL_ACTIVE_${target})
  if(active)
    get_property(path GLOBAL PROPERTY _WL_PATH)
    message(FATAL_ERROR "Library cycle: ${path} -> ${target}")
  endif()
  set_property(GLOBAL PROPERTY _WL_ACTIVE_${target} ON)
  get_property(path GLOBAL PROPERTY _WL_PATH)
  set_property(GLOBAL PROPERTY _WL_PATH "${path} -> ${target}")
  get_property(ours GLOBAL PROPERTY WL_TARGETS)
  get_target_property(libs ${target} LINK_LIBRARIES)
  set(closure)
  foreach(lib ${libs})
    list(APPEND closure ${lib})
    if(lib IN_LIST ours)
      _wl_closure(${lib} sub)
      list(APPEND closure ${sub})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES closure)
  set_property(GLOBAL PROPERTY _WL_PATH "${path}")
  set_property(GLOBAL PROPERTY _WL_ACTIVE_${target} OFF)
  set_property(GLOBAL PROPERTY _WL_CLOSURE_${target} ${closure})
  set_property(GLOBAL PROPERTY _WL_CLOSURE_DONE_${target} ON)
  set(${out} ${closure} PARENT_SCOPE)
endfunction()

function(wl_check_layering)
  get_property(ours GLOBAL PROPERTY WL_TARGETS)
  _wl_folder_level(${CMAKE_SOURCE_DIR}/${WL_SERVICE_FOLDER} service_level)
  set(problems)
  foreach(t ${ours})
    set_property(GLOBAL PROPERTY _WL_PATH "")
    _wl_closure(${t} closure)
    get_target_property(kind ${t} WL_KIND)
    get_target_property(level ${t} WL_LEVEL)
    if(kind STREQUAL "model" OR kind STREQUAL "service")
      foreach(w ${WL_WIDGET_LIBS})
        if(w IN_LIST closure)
          list(APPEND problems "${t} (${kind}) reaches ${w}")
        endif()
      endforeach()
    endif()
    if(kind STREQUAL "service" AND NOT level EQUAL service_level)
      list(APPEND problems "${t} (service) lies outside ${WL_SERVICE_FOLDER}/, where every service lives")
    endif()
    get_target_property(libs ${t} LINK_LIBRARIES)
    foreach(lib ${libs})
      if(lib IN_LIST ours)
        get_target_property(lkind ${lib} WL_KIND)
        get_target_property(llevel ${lib} WL_LEVEL)
        if(kind STREQUAL "service" AND NOT lkind STREQUAL "service" AND llevel GREATER 10)
          list(APPEND problems "${t} (service) links ${lib}: a service links only the core and services")
        elseif(llevel GREATER level)
          list(APPEND problems "${t} (level ${level}) links the later ${lib} (level ${llevel})")
        endif()
      endif()
    endforeach()
  endforeach()
  if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Layering broken:\n  ${text}")
  endif()
endfunction()

# wl_test_dir(LIBS <targets...> [UI_LIBS <targets...>] [UI_TESTS <stems...>]
#             [HELPERS <files...>])
# Every tst_*.cpp of the calling folder becomes one test; files named
# tst_*_gui.cpp need a display. Tests with windows (the _gui ones and those
# named in UI_TESTS) link UI_LIBS as well; the others link the widget-free
# LIBS only. HELPERS are fixture sources compiled into each test.
function(wl_test_dir)
  cmake_parse_arguments(D "" "" "LIBS;UI_LIBS;UI_TESTS;HELPERS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    set(name ${folder}_${stem})
    set(libs ${D_LIBS})
    if(stem MATCHES "_gui$" OR stem IN_LIST D_UI_TESTS)
      list(APPEND libs ${D_UI_LIBS})
    endif()
    if(stem MATCHES "_gui$")
      wl_add_test(${name} SOURCES ${src} ${D_HELPERS} LIBS ${libs} GUI LABELS ${folder})
    else()
      wl_add_test(${name} SOURCES ${src} ${D_HELPERS} LIBS ${libs} LABELS ${folder})
    endif()
  endforeach()
endfunction()
