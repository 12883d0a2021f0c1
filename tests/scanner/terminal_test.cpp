// Input from a terminal is taken a line at a time: a line's tokens are scanned as soon as the
// line is typed, without waiting for a block to fill.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Collects standard error until `wanted` appears or two seconds pass.
bool wait_for(int fd, std::string& seen, const std::string& wanted) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (seen.find(wanted) == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[4096];
        ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return false;
        seen.append(buf, static_cast<size_t>(n));
    }
    return true;
}

TEST(Terminal, EachLineIsScannedAsSoonAsItIsTyped) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    std::string terminal = ptsname(master);
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    std::string folder = std::filesystem::temp_directory_path() / "penwright-tty-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder.data()));

    pid_t pid = fork();
    if (pid == 0) {
        int tty = open(terminal.c_str(), O_RDWR);
        dup2(tty, 0);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(err[1], 2);
        if (chdir(folder.c_str()) != 0) _exit(127);
        execl(PENWRIGHT_BIN, PENWRIGHT_BIN, "-o", "out.dxf", "-d", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(err[1]);
    std::string seen;
    ASSERT_EQ(write(master, "SP1;PD1016,0;\n", 14), 14);
    EXPECT_TRUE(wait_for(err[0], seen, "token=\";\", tokenpos=13, yyleng=1\n")) << seen;
    ASSERT_EQ(write(master, "PD0,0;\n", 7), 7);
    EXPECT_TRUE(wait_for(err[0], seen, "token=\";\", tokenpos=6, yyleng=1\n")) << seen;
    ASSERT_EQ(write(master, "\x04", 1), 1); // end of input
    EXPECT_TRUE(wait_for(err[0], seen, "Errors: 0, Warnings: 0\n")) << seen;
    int status = 0;
    for (int i = 0; i < 200 && waitpid(pid, &status, WNOHANG) == 0; ++i) usleep(10000);
    if (waitpid(pid, &status, WNOHANG) == 0) { // still blocked on its input: stop it
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(master);
    close(err[0]);
    std::filesystem::remove_all(folder);
}

} // namespace
