// Runs a command and prints its wall time in seconds and its peak resident set in KB,
// the same rusage figure that /usr/bin/time -v reports.
//
//   timeit RUNS command [args...]     one line "seconds max_rss_kb" per run
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

extern char** environ;

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: timeit RUNS command [args...]\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        pid_t pid;
        if (posix_spawnp(&pid, argv[2], &quiet, nullptr, argv + 2, environ) != 0) {
            perror(argv[2]);
            return 2;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        printf("%.6f %ld\n", wall.count(), usage.ru_maxrss);
    }
    return 0;
}
