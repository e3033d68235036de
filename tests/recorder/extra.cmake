# The end-to-end tests read back record files with the converter's reader.
target_link_libraries(test_recorder PRIVATE corvel_rec2csv)
# The progress test saves a picture of a run into the build folder.
target_compile_definitions(test_recorder PRIVATE CORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
