# The order among the core and the subsystems, one include per case: the
# layer check run on a small tree that has every folder of src/.
# Each case: the folder whose file includes, the header it includes, and
# whether the layer check lets it through.
set(cases
  "table|chat/ChatService.h|refused"
  "table|play/PlayFlowService.h|refused"
  "items|sound/SoundService.h|refused"
  "sound|chat/ChatService.h|refused"
  "chat|settlement/SettlementService.h|refused"
  "settlement|video/VideoLink.h|refused"
  "video|chat/ChatService.h|refused"
  "core|table/MainForm.h|refused"
  "core|forms/Surface.h|refused"
  "forms|core/TableState.h|refused"
  "table|../chat/ChatService.h|refused"
  "table|core/TableState.h|allowed"
  "sound|items/ItemService.h|allowed"
  "chat|sound/SoundService.h|allowed"
  "video|items/ItemBridge.h|allowed"
  "play|settlement/SettlementService.h|allowed"
  "app|play/PlayFlowService.h|allowed")

set(folders rules wire gif platform support core forms table items sound chat settlement video
            play app)
set(failures "")
set(n 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 from)
  list(GET fields 1 header)
  list(GET fields 2 expected)
  math(EXPR n "${n} + 1")
  set(tree "${TREES_DIR}/${n}")
  file(REMOVE_RECURSE "${tree}")
  foreach(folder IN LISTS folders)
    file(MAKE_DIRECTORY "${tree}/${folder}")
  endforeach()
  file(WRITE "${tree}/${from}/Including.cpp" "#include \"${header}\"\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DTESSAROC_SOURCE_DIR=${tree} -P ${TESSAROC_LAYERS}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expected STREQUAL "allowed" AND NOT rc EQUAL 0)
    string(APPEND failures "\n  ${from} including ${header} was refused:\n${out}")
  elseif(expected STREQUAL "refused")
    string(FIND "${out}" "src/${from}/Including.cpp includes \"${header}\"" named)
    if(rc EQUAL 0)
      string(APPEND failures "\n  ${from} including ${header} passed")
    elseif(named EQUAL -1)
      string(APPEND failures "\n  ${from} including ${header} was refused without naming both:\n${out}")
    endif()
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "The layer check got these wrong:${failures}")
endif()
