# The progress test saves a picture of a run into the build folder.
target_compile_definitions(test_recorder PRIVATE CORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
