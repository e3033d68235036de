# The end-to-end tests read back record files with the converter's reader.
target_link_libraries(test_recorder PRIVATE corvel_rec2csv)
