#include "dxf/document.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "driver/diagnostics.h"

namespace {

constexpr size_t kept_in_memory = 4 << 20; // beyond this the entities go to a temporary file

int divisor = 1016;
OutputStream entities;  // the ENTITIES section as it grows
long long flag_at = -1; // where the flag of the open polyline stands

Scaled at(double v) {
    return {v, divisor};
}
Scaled plain(double v) {
    return {v, 1};
}

void write_colour(int colour) {
    if (colour != by_layer) emit<" 62\n%d\n">(entities, colour);
}

long long next_offset() {
#ifdef PENWRIGHT_PRINTF_WRITERS
    if (entities.file) { // the C library writes every record itself: ask it where it stands
        fflush(entities.file);
        return ftello(entities.file);
    }
#endif
    return entities.flushed + static_cast<long long>(entities.used);
}

// Rewrites one byte already kept, in memory or in the temporary file.
void patch(long long offset, char c) {
    if (offset >= entities.flushed &&
        offset - entities.flushed < static_cast<long long>(entities.used)) {
        entities.buffer[offset - entities.flushed] = c;
        return;
    }
    fflush(entities.file);
    if (pwrite(fileno(entities.file), &c, 1, offset) != 1)
        fatal_error("penwright: the temporary file of the drawing cannot be written");
}

// The kept entities after what `out` holds: from the temporary file by the kernel when it
// can copy between the two files, else block by block.
void copy_entities(OutputStream& out) {
    if (entities.file) {
        output_flush(entities);
        fflush(entities.file);
        output_flush(out);
        fflush(out.file);
        off_t from = 0, size = ftello(entities.file);
        auto left = static_cast<size_t>(size);
        while (left > 0) {
            ssize_t n =
                copy_file_range(fileno(entities.file), &from, fileno(out.file), nullptr, left, 0);
            if (n <= 0) break; // not between these two files: by hand from where it stopped
            left -= static_cast<size_t>(n);
        }
        if (left > 0 && fseeko(entities.file, from, SEEK_SET) == 0) {
            char block[1 << 16];
            for (size_t n; (n = fread(block, 1, sizeof block, entities.file)) > 0;)
                output_bytes(out, block, n);
        }
        if (ferror(entities.file))
            fatal_error("penwright: the temporary file of the drawing cannot be read");
        out.flushed += size;
    }
    output_bytes(out, entities.buffer, entities.used);
}

void write_header(OutputStream& out, const Extents& e) {
    emit<"  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n">(out);
    emit<"  9\n$EXTMIN\n 10\n%u\n 20\n%u\n 30\n0\n">(out, at(e.min_x), at(e.min_y));
    emit<"  9\n$EXTMAX\n 10\n%u\n 20\n%u\n 30\n0\n">(out, at(e.max_x), at(e.max_y));
    emit<"  0\nENDSEC\n">(out);
}

void write_tables(OutputStream& out, const DocumentLayer* layers, int count) {
    emit<"  0\nSECTION\n  2\nTABLES\n">(out);
    emit<"  0\nTABLE\n  2\nLTYPE\n 70\n1\n  0\nLTYPE\n  2\nCONTINUOUS\n 70\n0\n  3\nSolid line\n"
         " 72\n65\n 73\n0\n 40\n0\n  0\nENDTAB\n">(out);
    emit<"  0\nTABLE\n  2\nLAYER\n 70\n%d\n">(out, count + 1);
    emit<"  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n">(out);
    for (int i = 0; i < count; ++i)
        emit<"  0\nLAYER\n  2\n%s\n 70\n0\n 62\n%d\n  6\nCONTINUOUS\n">(out, layers[i].name,
                                                                        layers[i].colour);
    emit<"  0\nENDTAB\n">(out);
    emit<"  0\nTABLE\n  2\nSTYLE\n 70\n1\n  0\nSTYLE\n  2\nSTANDARD\n 70\n0\n 40\n0\n 41\n1\n"
         " 50\n0\n 71\n0\n 42\n0.2\n  3\ntxt\n  4\n\n  0\nENDTAB\n">(out);
    emit<"  0\nENDSEC\n">(out);
}

} // namespace

void document_begin(int unit_divisor) {
    document_reset();
    divisor = unit_divisor;
    char* buffer = static_cast<char*>(malloc(kept_in_memory));
    if (!buffer) fatal_error("penwright: out of memory for the drawing");
    // Without a temporary file the entities stay in memory, in a buffer that grows.
    output_attach(entities, tmpfile(), buffer, kept_in_memory);
}

void document_polyline(const Layer& layer) {
    emit<"  0\nPOLYLINE\n  8\n%t\n">(entities, layer.name);
    write_colour(layer.colour);
    emit<" 66\n1\n 70\n">(entities);
    flag_at = next_offset();
    emit<"0\n 10\n0\n 20\n0\n 30\n0\n">(entities);
}

void document_vertex(const Layer& layer, double x, double y) {
    emit<"  0\nVERTEX\n  8\n%t\n 10\n%u\n 20\n%u\n">(entities, layer.name, at(x), at(y));
}

void document_polyline_end(const Layer& layer, bool closed) {
    if (closed) patch(flag_at, '1');
    emit<"  0\nSEQEND\n  8\n%t\n">(entities, layer.name);
}

void document_point(const Layer& layer, double x, double y) {
    emit<"  0\nPOINT\n  8\n%t\n">(entities, layer.name);
    write_colour(layer.colour);
    emit<" 10\n%u\n 20\n%u\n">(entities, at(x), at(y));
}

void document_circle(const Layer& layer, double cx, double cy, double r) {
    emit<"  0\nCIRCLE\n  8\n%t\n">(entities, layer.name);
    write_colour(layer.colour);
    emit<" 10\n%u\n 20\n%u\n 40\n%u\n">(entities, at(cx), at(cy), at(r));
}

void document_arc(const Layer& layer, double cx, double cy, double r, double a50, double a51) {
    emit<"  0\nARC\n  8\n%t\n">(entities, layer.name);
    write_colour(layer.colour);
    emit<" 10\n%u\n 20\n%u\n 40\n%u\n 50\n%u\n 51\n%u\n">(entities, at(cx), at(cy), at(r),
                                                          plain(a50), plain(a51));
}

void document_text(const Layer& layer, const TextEntity& t) {
    emit<"  0\nTEXT\n  8\n%t\n">(entities, layer.name);
    write_colour(layer.colour);
    emit<" 10\n%u\n 20\n%u\n 40\n%u\n  1\n">(entities, at(t.x), at(t.y), at(t.height));
    output_bytes(entities, t.text, t.length);
    emit<"\n">(entities);
    if (t.angle != 0) emit<" 50\n%u\n">(entities, plain(t.angle));
    if (t.width_factor != 1) emit<" 41\n%u\n">(entities, plain(t.width_factor));
    if (t.oblique != 0) emit<" 51\n%u\n">(entities, plain(t.oblique));
    emit<"  7\nSTANDARD\n">(entities);
}

void document_write(OutputStream& out, const Extents& extents, const DocumentLayer* layers,
                    int layer_count) {
    write_header(out, extents);
    write_tables(out, layers, layer_count);
    emit<"  0\nSECTION\n  2\nENTITIES\n">(out);
    copy_entities(out);
    emit<"  0\nENDSEC\n  0\nEOF\n">(out);
}

void document_reset() {
    if (entities.file) fclose(entities.file);
    free(entities.buffer);
    entities = OutputStream{};
    flag_at = -1;
}
