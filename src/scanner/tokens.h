// Token kinds shared by the scanner and the grammar, and the value that accompanies a token.
#pragma once

// 0 is the end of input; 1 to 255 are single characters returned as themselves.
enum TokenKind : int {
    T_UNKNOWN = 258, // declared for the grammar, never returned
    T_ERROR = 259,   // declared for the grammar, never returned
    INT = 260,
    LBSTR = 261, // label text, without its ETX
    QSTR = 262,  // quoted text, both quotes included
    PESTR = 263, // encoded polyline data, without the ';'
    DBL = 264,
    ESC = 265,
    PJL = 266,
    ENTER = 267,
    LANGUAGE = 268,
    HPGL2 = 269,
    CO = 270,
    LB = 271,
    PE = 272,
};

union TokenValue {
    int i;
    double d;
    char* text; // made by text_copy (scanner/text.h); the parser releases it
};

// Written only when INT, DBL, LBSTR, QSTR or PESTR is returned.
extern TokenValue token_value;
