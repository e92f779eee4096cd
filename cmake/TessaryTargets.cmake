# Every target sees only its own folders and, through what it links, the folders
# of the layers below it: each gets an include root holding links to its own
# folders alone, published to whatever links it. So a lower layer that includes
# a higher layer's header fails to build.
function(tessary_include_root target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root} ${CMAKE_BINARY_DIR}/generated)
endfunction()

# tessary_layer(NAME): static library tessary_NAME from every source in NAME/.
function(tessary_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    set(sources ${CMAKE_BINARY_DIR}/generated/empty_${name}.cpp)
    file(WRITE ${sources} "// ${name} has no sources yet\n")
  endif()
  add_library(tessary_${name} STATIC ${sources})
  tessary_include_root(tessary_${name} ${name})
endfunction()

# tessary_test(NAME DIR LIBS...): GoogleTest executable from every source in tests/DIR/.
function(tessary_test name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} tessary_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "TESSARY_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
