// Times filling large regions by both rules and prints, per region and rule, the best of RUNS
// times for the pieces and for the outline (wall clock, and in brackets the process's CPU time,
// which other work on a shared machine disturbs less), the number of pieces and of loops, and a
// hash of every coordinate written (pieces and outline together), so that a change meant to make
// the fills faster can show it left their results alone.
//
//   fillbench [RUNS]      (3 by default)
//
// The regions: a star of 200,000 edges (points alternately on two circles), a comb of 100,000
// teeth of differing heights, and a polygon through 2,000 random points (many crossings).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "geometry/fill.h"

namespace {

Rings star(int edges) {
    Rings r;
    r.starts.push_back(0);
    for (int i = 0; i < edges; ++i) {
        double angle = 2 * M_PI * i / edges, radius = i % 2 ? 900 : 1000;
        r.points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    return r;
}

Rings comb(int teeth) {
    Rings r;
    r.starts.push_back(0);
    r.points.push_back({0, 0});
    r.points.push_back({2.0 * teeth - 1, 0});
    for (int i = teeth - 1; i >= 0; --i) {
        double height = 2 + (i * 7919 % 1000) / 10.0;
        r.points.push_back({2.0 * i + 1, height});
        r.points.push_back({2.0 * i, height});
        if (i > 0) r.points.push_back({2.0 * i, 1}), r.points.push_back({2.0 * i - 1, 1});
    }
    return r;
}

Rings random_polygon(int vertices) {
    Rings r;
    r.starts.push_back(0);
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> coordinate(0, 1000);
    for (int i = 0; i < vertices; ++i)
        r.points.push_back({coordinate(rng), coordinate(rng)});
    return r;
}

// FNV-1a over the bits of the doubles and the counts, in the order they were written.
struct Hash {
    std::uint64_t value = 14695981039346656037u;
    void add(std::uint64_t bits) {
        for (int i = 0; i < 8; ++i, bits >>= 8)
            value = (value ^ (bits & 0xff)) * 1099511628211u;
    }
    void add(double d) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        add(bits);
    }
};

std::uint64_t hash_of(const std::vector<Piece>& pieces, const Rings& outline) {
    Hash h;
    for (const Piece& p : pieces) {
        h.add(std::uint64_t(p.count));
        for (int i = 0; i < p.count; ++i)
            h.add(p.corner[i].x), h.add(p.corner[i].y);
    }
    for (size_t start : outline.starts)
        h.add(std::uint64_t(start));
    for (Point p : outline.points)
        h.add(p.x), h.add(p.y);
    return h.value;
}

struct Best {
    double wall = 1e9, cpu = 1e9;
};

// Runs `work` and keeps its times where they are the best yet.
template <class Work> void time_it(Best& best, Work work) {
    auto wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    work();
    std::chrono::duration<double> wall_seconds = std::chrono::steady_clock::now() - wall;
    best.cpu = std::min(best.cpu, double(std::clock() - cpu) / CLOCKS_PER_SEC);
    best.wall = std::min(best.wall, wall_seconds.count());
}

void measure(const char* name, const Rings& region, FillRule rule, int runs) {
    Best pieces_time, outline_time;
    size_t pieces_written = 0, loops_written = 0;
    std::uint64_t hash = 0;
    for (int run = 0; run < runs; ++run) {
        std::vector<Piece> pieces;
        time_it(pieces_time, [&] { fill_pieces(region, rule, pieces); });
        pieces_written = pieces.size();
        Rings outline;
        time_it(outline_time, [&] { fill_outline(region, rule, outline); });
        loops_written = outline.starts.size();
        hash = hash_of(pieces, outline);
    }
    printf("%-20s %-8s %7zu %7.3f (%5.3f) s %8zu %7.3f (%5.3f) s %6zu %016llx\n", name,
           rule == FillRule::even_odd ? "even-odd" : "non-zero", region.points.size(),
           pieces_time.wall, pieces_time.cpu, pieces_written, outline_time.wall, outline_time.cpu,
           loops_written, static_cast<unsigned long long>(hash));
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    struct Named {
        const char* name;
        Rings region;
    } regions[] = {{"star", star(200000)},
                   {"comb, 100000 teeth", comb(100000)},
                   {"random, 2000 points", random_polygon(2000)}};
    printf("%-20s %-8s %7s %19s %8s %19s %6s %16s\n", "region", "rule", "edges", "pieces: time",
           "count", "outline: time", "loops", "hash");
    for (const Named& r : regions)
        for (FillRule rule : {FillRule::even_odd, FillRule::non_zero})
            measure(r.name, r.region, rule, runs);
    return 0;
}
