// The floor of a conversion: a bare program that writes as many bytes as the conversion wrote,
// in 64 KiB write() calls, and nothing else.
//
//   barewrite TEMPLATE OUTPUT [TEMPLATE OUTPUT ...]
//
// Each OUTPUT gets the size of its TEMPLATE, the template's first 64 KiB over and over.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr size_t block = 64 * 1024;
char buffer[block];

bool write_like(const char* template_path, const char* output_path) {
    int in = open(template_path, O_RDONLY);
    struct stat st {};
    if (in < 0 || fstat(in, &st) != 0) return false;
    ssize_t filled = read(in, buffer, block);
    close(in);
    if (filled < 0) return false;
    int out = open(output_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) return false;
    for (off_t left = st.st_size; left > 0;) {
        size_t n = left < static_cast<off_t>(block) ? static_cast<size_t>(left) : block;
        if (write(out, buffer, n) != static_cast<ssize_t>(n)) return false;
        left -= static_cast<off_t>(n);
    }
    return close(out) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        fprintf(stderr, "usage: barewrite TEMPLATE OUTPUT [TEMPLATE OUTPUT ...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2)
        if (!write_like(argv[i], argv[i + 1])) {
            perror(argv[i + 1]);
            return 1;
        }
    return 0;
}
