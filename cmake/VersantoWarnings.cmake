# Compile options shared by every target of the project; a target opts in with
# versanto_target_defaults(<target>).
add_library(versanto_defaults INTERFACE)
target_compile_options(versanto_defaults INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
if(VERSANTO_WERROR)
  target_compile_options(versanto_defaults INTERFACE -Werror)
endif()
# Qt's deprecated API stays out, so that the code builds with later Qt 6 too.
target_compile_definitions(versanto_defaults INTERFACE
  QT_DISABLE_DEPRECATED_UP_TO=0x060400)
if(VERSANTO_SANITIZE)
  target_compile_options(versanto_defaults INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(versanto_defaults INTERFACE -fsanitize=address,undefined)
endif()

function(versanto_target_defaults target)
  target_link_libraries(${target} PRIVATE versanto_defaults)
endfunction()
