# The converter runs as a program beside the test.
add_dependencies(test_tools_rec2csv corvel-rec2csv)
