// Input from a terminal is taken a line at a time: a line's tokens are scanned as soon as the
// line is typed, without waiting for a block to fill.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/harness.h"

namespace {

// Collects standard error until `wanted` appears or two seconds pass.
bool wait_for(int fd, std::string& seen, const std::string& wanted) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (seen.find(wanted) == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
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

// penwright reading a new pseudo-terminal as its standard input, standard error on a pipe.
struct TerminalRun {
    int master = -1;
    int err = -1;
    int watcher = -1; // our own descriptor of the terminal, held so that it keeps its mode
    pid_t pid = -1;
    std::string folder = std::filesystem::temp_directory_path() / "penwright-tty-XXXXXX";
    std::string seen; // standard error so far

    void open_terminal() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        watcher = open(ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(watcher, 0);
    }
    // Bytes typed before the program starts, in raw mode: they wait whole in the terminal.
    void type_ahead(const std::string& bytes) {
        termios mode;
        tcgetattr(watcher, &mode);
        cfmakeraw(&mode);
        tcsetattr(watcher, TCSANOW, &mode);
        type(bytes);
        int unread = 0;
        for (int i = 0; i < 200 && ioctl(watcher, FIONREAD, &unread) == 0 &&
                        unread < static_cast<int>(bytes.size());
             ++i)
            usleep(10000);
        ASSERT_EQ(unread, static_cast<int>(bytes.size()));
    }
    // `nonblocking`: a read that finds no byte fails (EAGAIN) instead of waiting.
    void start(bool nonblocking) {
        std::string terminal = ptsname(master);
        int pipe_ends[2];
        ASSERT_EQ(pipe(pipe_ends), 0);
        ASSERT_TRUE(mkdtemp(folder.data()));
        pid = fork();
        if (pid == 0) {
            close(master);
            int tty = open(terminal.c_str(), O_RDWR | (nonblocking ? O_NONBLOCK : 0));
            dup2(tty, 0);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(pipe_ends[1], 2);
            if (chdir(folder.c_str()) != 0) _exit(127);
            execl(PENWRIGHT_BIN, PENWRIGHT_BIN, "-o", "out.dxf", "-d", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipe_ends[1]);
        err = pipe_ends[0];
    }
    void type(const std::string& bytes) {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    bool wait_for(const std::string& wanted) { return ::wait_for(err, seen, wanted); }
    // The exit status, or -1 when the program had to be stopped.
    int finish() {
        int status = 0;
        for (int i = 0; i < 200 && waitpid(pid, &status, WNOHANG) == 0; ++i)
            usleep(10000);
        if (waitpid(pid, &status, WNOHANG) == 0) { // still blocked on its input: stop it
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            status = -1;
        }
        close(master);
        close(watcher);
        close(err);
        return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string log() { return read_file(folder + "/penwright.log"); }
    ~TerminalRun() { std::filesystem::remove_all(folder); }
};

TEST(Terminal, EachLineIsScannedAsSoonAsItIsTyped) {
    TerminalRun run;
    run.open_terminal();
    run.start(false);
    run.type("SP1;PD1016,0;\n");
    EXPECT_TRUE(run.wait_for("token=\";\", tokenpos=13, yyleng=1\n")) << run.seen;
    run.type("PD0,0;\n");
    EXPECT_TRUE(run.wait_for("token=\";\", tokenpos=6, yyleng=1\n")) << run.seen;
    run.type("\x04"); // end of input
    EXPECT_TRUE(run.wait_for("Errors: 0, Warnings: 0\n")) << run.seen;
    EXPECT_EQ(run.finish(), 0);
}

TEST(Terminal, BytesReadBeforeAFailureAreScannedFirst) {
    TerminalRun run;
    run.open_terminal();
    run.type_ahead("SP1;PD1016,0;"); // no line end: the line's next read fails
    run.start(true);
    EXPECT_TRUE(run.wait_for("input in flex scanner failed\n")) << run.seen;
    EXPECT_EQ(run.finish(), 2);
    EXPECT_EQ(
        run.log(),
        "HPGL input file: penwright.plt\nDXF output file: out.dxf\nSP 1\nPD\nmove to 1016 0\n");
}

} // namespace
