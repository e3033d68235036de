# corvel-ctl runs as a program beside the test, against the virtual sensor.
add_dependencies(test_${name} corvel-ctl corvel-virtual-sensor)
