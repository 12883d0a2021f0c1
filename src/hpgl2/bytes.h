// What each byte is to the HP-GL/2 reader: one table drives its loops.
#pragma once

#include <array>
#include <cstdint>

enum ByteClass : uint8_t {
    b_other,  // begins nothing: a stray byte
    b_digit,  // 0-9
    b_sign,   // + -
    b_point,  // .
    b_blank,  // space, TAB, CR, SUB, comma: separators
    b_line,   // LF: a separator that ends a line
    b_end,    // ; ends a command
    b_letter, // A-Z a-z begin a mnemonic
    b_escape, // ESC
    b_nul,    // NUL: skipped, and the mark after the last byte read
};

constexpr std::array<ByteClass, 256> byte_classes = [] {
    std::array<ByteClass, 256> t{};
    for (int c = 0; c < 256; ++c) {
        ByteClass k = b_other;
        if (c >= '0' && c <= '9')
            k = b_digit;
        else if (c == '+' || c == '-')
            k = b_sign;
        else if (c == '.')
            k = b_point;
        else if (c == ' ' || c == '\t' || c == '\r' || c == 0x1a || c == ',')
            k = b_blank;
        else if (c == '\n')
            k = b_line;
        else if (c == ';')
            k = b_end;
        else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            k = b_letter;
        else if (c == 0x1b)
            k = b_escape;
        else if (c == 0)
            k = b_nul;
        t[static_cast<size_t>(c)] = k;
    }
    return t;
}();

inline ByteClass class_of(char c) {
    return byte_classes[static_cast<unsigned char>(c)];
}

inline bool is_letter(int c) {
    return c >= 0 && class_of(static_cast<char>(c)) == b_letter;
}

inline char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
