# The end-to-end tests run the virtual sensor beside the test program.
add_dependencies(test_${name} corvel-virtual-sensor)
