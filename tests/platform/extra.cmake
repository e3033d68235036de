# A small panel file of our own, so these tests do not depend on the
# program's panels, and its identity header made by the same generator.
qt_add_binary_resources(test_platform_uir ${dir}/test_platform.qrc
  DESTINATION ${CORVEL_BIN_DIR}/test_platform.uir)
add_dependencies(test_${name} test_platform_uir)
set(tp_ids_dir ${CMAKE_BINARY_DIR}/generated_tests)
add_custom_command(
  OUTPUT ${tp_ids_dir}/tp_ids.h
  COMMAND corvel-gen-ids ${tp_ids_dir}/tp_ids.h ${dir}/test_panel.ui
  DEPENDS ${dir}/test_panel.ui corvel-gen-ids)
target_sources(test_${name} PRIVATE ${tp_ids_dir}/tp_ids.h)
target_include_directories(test_${name} PRIVATE ${tp_ids_dir})
target_link_libraries(test_${name} PRIVATE Qt6::Widgets Qt6::Test)
