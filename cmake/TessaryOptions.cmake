# Compiler flags shared by every target.
add_compile_options(-Wall -Wextra -Wpedantic)
if(TESSARY_WERROR)
  add_compile_options(-Werror)
endif()
if(TESSARY_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()
if(TESSARY_FUZZ)
  # Coverage for the whole core, not only the fuzz harness, or libFuzzer runs blind.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE Debug CACHE STRING "Build type" FORCE)
endif()
