# tessary_layer(NAME): static library tessary_NAME from every source in NAME/.
function(tessary_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    set(sources ${CMAKE_BINARY_DIR}/generated/empty_${name}.cpp)
    file(WRITE ${sources} "// ${name} has no sources yet\n")
  endif()
  add_library(tessary_${name} STATIC ${sources})
  target_include_directories(tessary_${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
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
