// Value data types of controls and of the file services; a header of its
// own so that the file services need nothing of the user interface.
#pragma once

enum {
    DT_CHAR = 1,  // 8-bit characters
    DT_U16,       // unsigned 16-bit
    DT_S16,       // signed 16-bit
    DT_INT,       // signed 32-bit
    DT_DOUBLE,
    DT_STRING,
    DT_NONE,  // control has no value
};
