# The progress test saves a picture of the search into the build folder.
target_compile_definitions(test_${name} PRIVATE CORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
