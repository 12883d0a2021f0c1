#include "scanner/text.h"

#include <cstdlib>
#include <cstring>

#include "driver/diagnostics.h"

namespace {

char failed_copy[1]; // writable: a handler may cut its text in place

// Each text is a block that begins with its room: the bytes it can hold after that header.
constexpr size_t header = sizeof(size_t);
constexpr size_t least_room = 64;

// The last block given back, kept for the next text: statements hold their texts one by one.
char* spare = nullptr;

size_t room_of(char* text) {
    size_t room;
    memcpy(&room, text - header, header);
    return room;
}

char* new_block(size_t room) {
    auto* block = static_cast<char*>(malloc(header + room));
    if (!block) return nullptr;
    memcpy(block, &room, header);
    return block + header;
}

} // namespace

char* text_copy(const char* bytes, size_t n) {
    n = strnlen(bytes, n);
    char* copy = nullptr;
    if (spare && room_of(spare) > n) {
        copy = spare;
        spare = nullptr;
    } else {
        copy = new_block(n < least_room ? least_room : n + 1);
    }
    if (!copy) {
        hpgl_error("lexer out of memory");
        failed_copy[0] = '\0';
        return failed_copy;
    }
    memcpy(copy, bytes, n);
    copy[n] = '\0';
    return copy;
}

void text_release(char* text) {
    if (text == failed_copy) return;
    if (spare) free(spare - header);
    spare = text;
}

void text_forget_spare() {
    if (spare) free(spare - header);
    spare = nullptr;
}
