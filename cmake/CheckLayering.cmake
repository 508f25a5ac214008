# Fails when a library of src/ includes a header of a library above it or beside it.
# Every library sees the whole of src/ on its include path, so the compiler alone would
# accept any include; this check keeps the layers as the build links them:
#
#   base <- codec <- runtime, peimage <- packages <- preview <- document <- shell <- app
#   edit on base, codec and runtime; document and cli may use it
#   cli on base, codec, runtime, edit, peimage and packages only
#
# Run by the build before any library compiles (target fw_layering):
#   cmake -DFW_SOURCE_DIR=<source dir> -P cmake/CheckLayering.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT FW_SOURCE_DIR)
  message(FATAL_ERROR "CheckLayering.cmake needs -DFW_SOURCE_DIR=<source dir>")
endif()

# The folders each library may include from, itself among them.
set(allowed_base base)
set(allowed_codec ${allowed_base} codec)
set(allowed_runtime ${allowed_codec} runtime)
set(allowed_edit ${allowed_runtime} edit)
set(allowed_peimage ${allowed_codec} peimage)
set(allowed_packages ${allowed_codec} runtime peimage packages)
set(allowed_preview ${allowed_packages} preview)
set(allowed_document ${allowed_preview} edit document)
set(allowed_shell ${allowed_document} shell)
set(allowed_app ${allowed_shell} app)
set(allowed_cli ${allowed_codec} runtime edit peimage packages cli)
set(libraries base codec runtime edit peimage packages preview document shell app cli)

set(violations "")
foreach(library IN LISTS libraries)
  file(GLOB_RECURSE files "${FW_SOURCE_DIR}/src/${library}/*.h" "${FW_SOURCE_DIR}/src/${library}/*.cpp"
       "${FW_SOURCE_DIR}/src/${library}/*.in")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*$" "\\1" folder "${line}")
      if(NOT folder IN_LIST allowed_${library})
        file(RELATIVE_PATH shown "${FW_SOURCE_DIR}" "${file}")
        string(STRIP "${line}" line)
        string(APPEND violations "\n  ${shown}: ${line} (${library} may include only: ${allowed_${library}})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes across the library layers:${violations}")
endif()
