# Warnings and sanitizers shared by every target of the project.
add_library(torvane_warnings INTERFACE)
target_compile_options(torvane_warnings INTERFACE -Wall -Wextra)

if(TORVANE_SANITIZE OR TORVANE_FUZZ)
  set(TORVANE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${TORVANE_SANITIZER_FLAGS})
  add_link_options(${TORVANE_SANITIZER_FLAGS})
endif()
if(TORVANE_FUZZ)
  # Engine code is instrumented for coverage; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
