# The generated texts are committed; this test fails when they no longer match
# what tools/gen_texts.py makes, so an edit to either cannot go unnoticed.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME generated_texts_up_to_date
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_texts.py --check)
endif()
