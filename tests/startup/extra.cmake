# The start-up test runs the program itself as well.
add_dependencies(test_startup corvel-scope)
