# sonalix_library(<target> [DEPS <targets...>] [PCH_QT])
# One static library per folder of src/, its sources globbed so that adding a unit needs no edit
# here. A folder without sources yet becomes an interface library carrying its dependencies.
function(sonalix_library target)
  cmake_parse_arguments(ARG "PCH_QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.c ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  set(has_cpp FALSE)
  foreach(s ${sources})
    if(s MATCHES "\\.(cpp|c)$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
    if(ARG_PCH_QT)
      target_precompile_headers(${target} REUSE_FROM sonalix_qt_pch)
    endif()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One precompiled header of the Qt classes the GUI layers use, shared by every library that asks.
file(WRITE ${CMAKE_BINARY_DIR}/pch_dummy.cpp "// carries the shared precompiled header\n")
add_library(sonalix_qt_pch STATIC ${CMAKE_BINARY_DIR}/pch_dummy.cpp)
target_link_libraries(sonalix_qt_pch PUBLIC Qt6::Widgets)
target_compile_options(sonalix_qt_pch PRIVATE -Wall -Wextra -Wno-unused-parameter)
target_precompile_headers(sonalix_qt_pch PRIVATE
  <string> <vector> <memory> <functional> <map>
  <QtCore/QObject> <QtCore/QString> <QtCore/QTimer> <QtCore/QEvent>
  <QtGui/QImage> <QtGui/QPainter> <QtGui/QColor> <QtGui/QFont>
  <QtWidgets/QWidget> <QtWidgets/QApplication>)

# Outside libraries, found once for every folder.
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libavutil libswresample)
pkg_check_modules(LAME REQUIRED IMPORTED_TARGET lame)
pkg_check_modules(VORBIS REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
pkg_check_modules(SOXR REQUIRED IMPORTED_TARGET soxr)
pkg_check_modules(SOUNDTOUCH REQUIRED IMPORTED_TARGET soundtouch)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET fftw3f fftw3)
pkg_check_modules(ESPEAK REQUIRED IMPORTED_TARGET espeak-ng)
pkg_check_modules(CDIO REQUIRED IMPORTED_TARGET libcdio_paranoia libcdio_cdda libcdio)
pkg_check_modules(UDEV REQUIRED IMPORTED_TARGET libudev)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)

# Descriptions that carry the recording skin: skingen puts the skin package and the icons into
# them at build time.
set(SONALIX_SKINNED_FORMS TRecordControlForm.form)

# sonalix_embed_forms(<target> [SKINNED_ONLY]): every form description of resources/forms/ under
# ":/forms", or only those that carry the skin (for a target that lists the others itself).
function(sonalix_embed_forms target)
  cmake_parse_arguments(ARG "SKINNED_ONLY" "" "" ${ARGN})
  file(GLOB forms CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/forms/*.form)
  set(skinned_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_skinned_forms)
  set(skinned)
  foreach(name IN LISTS SONALIX_SKINNED_FORMS)
    set(source ${PROJECT_SOURCE_DIR}/resources/forms/${name})
    list(REMOVE_ITEM forms ${source})
    add_custom_command(OUTPUT ${skinned_dir}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${skinned_dir}/skin
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:skingen> ${skinned_dir}/skin
              ${source} ${skinned_dir}/${name}
      DEPENDS skingen ${source} VERBATIM)
    list(APPEND skinned ${skinned_dir}/${name})
  endforeach()
  if(forms AND NOT ARG_SKINNED_ONLY)
    qt_add_resources(${target} ${target}_forms PREFIX /forms
                     BASE ${PROJECT_SOURCE_DIR}/resources/forms FILES ${forms})
  endif()
  if(skinned)
    qt_add_resources(${target} ${target}_skinned_forms PREFIX /forms BASE ${skinned_dir} FILES ${skinned})
  endif()
endfunction()

# sonalix_generated_resources(<target> <resource> <tool> <prefix> <file names...>): the tool draws
# the files into the folder given as its argument at build time; they are embedded under
# ":/<prefix>" as the resource <resource> (a static library brings it in with
# Q_INIT_RESOURCE(<resource>)).
function(sonalix_generated_resources target resource tool prefix)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${prefix})
  list(TRANSFORM ARGN PREPEND ${dir}/ OUTPUT_VARIABLE files)
  file(MAKE_DIRECTORY ${dir})
  add_custom_command(OUTPUT ${files}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:${tool}> ${dir}
    DEPENDS ${tool} VERBATIM)
  set(qrc "<RCC>\n  <qresource prefix=\"/${prefix}\">\n")
  foreach(name IN LISTS ARGN)
    string(APPEND qrc "    <file>${name}</file>\n")
  endforeach()
  string(APPEND qrc "  </qresource>\n</RCC>\n")
  file(WRITE ${dir}/${resource}.qrc "${qrc}")
  qt_add_resources(sources ${dir}/${resource}.qrc)
  target_sources(${target} PRIVATE ${sources})
endfunction()

# Images drawn at build time, embedded under ":/images".
function(sonalix_generated_images target resource tool)
  sonalix_generated_resources(${target} ${resource} ${tool} images ${ARGN})
endfunction()
