target_link_libraries(test_tools PRIVATE corvel_vsensor_model)
add_dependencies(test_tools corvel-virtual-sensor)
# End-to-end tests of other modules start the sensor through the support library.
add_dependencies(corvel_test_support corvel-virtual-sensor)
