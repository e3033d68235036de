# The chooser is driven as a widget, and its picture saved into the build folder.
target_link_libraries(test_${name} PRIVATE Qt6::Widgets Qt6::Test)
target_compile_definitions(test_${name} PRIVATE CORVEL_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
