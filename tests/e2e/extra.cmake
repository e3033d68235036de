# The end-to-end tests run the virtual sensor beside the test program.
add_dependencies(test_${name} corvel-virtual-sensor)
# Pictures of live data are saved into the build folder.
target_compile_definitions(test_${name} PRIVATE CORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
