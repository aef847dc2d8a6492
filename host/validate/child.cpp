// child.cpp: fork, report through a pipe, wait.
//
// The child writes one line per finding or note into a pipe and ends with a
// "done" line; the step it is in is kept in a page shared with the parent,
// so that it can be named even when the child dies without a word.
#include "child.h"

#include "heap.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unordered_set>

namespace validate {

namespace {

constexpr std::size_t stepRoom = 1024;
constexpr std::size_t findingsKept = 20;

// Writes whole lines to the pipe; newlines inside a text become spaces.
void writeLine(int fd, char kind, const std::string &text) {
    std::string line;
    line.reserve(text.size() + 3);
    line += kind;
    line += ' ';
    for (char c : text) line += c == '\n' ? ' ' : c;
    line += '\n';
    const char *p = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return; // the parent is gone; nothing to tell
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

class PipeReporter : public Reporter {
public:
    PipeReporter(int fd, char *stepPage) : fd_(fd), stepPage_(stepPage) {}

    void at(const std::string &step) override {
        const std::size_t n = std::min(step.size(), stepRoom - 1);
        std::memcpy(stepPage_, step.data(), n);
        stepPage_[n] = '\0';
    }
    // The same finding again (a fault in a loop) is counted, not sent.
    void broken(const std::string &what) override {
        ++count_;
        if (sent_.size() < findingsKept && sent_.insert(what).second) writeLine(fd_, 'F', what);
    }
    void note(const std::string &text) override { writeLine(fd_, 'N', text); }
    void error(const std::string &text) { writeLine(fd_, 'E', text); }
    void finish() { writeLine(fd_, 'D', std::to_string(count_)); }

private:
    int fd_;
    char *stepPage_;
    long count_ = 0;
    std::unordered_set<std::string> sent_;
};

[[noreturn]] void childMain(const std::function<void(Reporter &)> &body, int fd, char *stepPage,
                            unsigned timeoutSeconds) {
    if (timeoutSeconds > 0) alarm(timeoutSeconds);
    PipeReporter reporter(fd, stepPage);
    try {
        body(reporter);
        reporter.at("after the last step: looking for leaks");
        if (leaksFound()) reporter.broken("memory leaked: LeakSanitizer's report is on stderr");
    } catch (const std::exception &e) {
        reporter.error(e.what());
    } catch (...) {
        reporter.error("an exception of an unknown type");
    }
    reporter.finish();
    std::fflush(nullptr);
    _exit(0); // not exit(): the parent's atexit handlers and destructors are not the child's to run
}

std::string deathOf(int status) {
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        const char *name = strsignal(sig);
        return "signal " + std::to_string(sig) + " (" + (name ? name : "unknown") + ")";
    }
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    return "wait status " + std::to_string(status);
}

} // namespace

const char *statusWord(ChildOutcome::Status status) {
    switch (status) {
    case ChildOutcome::Status::passed: return "passed";
    case ChildOutcome::Status::failed: return "FAILED";
    case ChildOutcome::Status::crashed: return "CRASHED";
    case ChildOutcome::Status::timedOut: return "TIMED OUT";
    case ChildOutcome::Status::error: return "ERROR";
    }
    return "?";
}

ChildOutcome runInChild(const std::function<void(Reporter &)> &body, unsigned timeoutSeconds) {
    void *page = mmap(nullptr, stepRoom, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) throw std::runtime_error(std::string("mmap: ") + std::strerror(errno));
    char *stepPage = static_cast<char *>(page);
    stepPage[0] = '\0';
    int fds[2];
    if (pipe(fds) != 0) {
        munmap(page, stepRoom);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    std::fflush(nullptr); // nothing buffered may be written twice
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        munmap(page, stepRoom);
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    }
    if (pid == 0) {
        close(fds[0]);
        childMain(body, fds[1], stepPage, timeoutSeconds);
    }
    close(fds[1]);

    std::string received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        received.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }

    ChildOutcome outcome;
    bool finished = false, threw = false;
    std::size_t from = 0;
    while (from < received.size()) {
        std::size_t end = received.find('\n', from);
        if (end == std::string::npos) end = received.size();
        const std::string line = received.substr(from, end - from);
        from = end + 1;
        if (line.size() < 2) continue;
        const std::string text = line.substr(2);
        switch (line[0]) {
        case 'F': outcome.findings.push_back(text); break;
        case 'N': outcome.notes.push_back(text); break;
        case 'E':
            threw = true;
            outcome.findings.push_back(text);
            break;
        case 'D':
            finished = true;
            outcome.findingCount = std::stol(text);
            break;
        default: break;
        }
    }
    outcome.lastStep = stepPage;
    munmap(page, stepRoom);

    if (!finished) {
        outcome.findingCount = static_cast<long>(outcome.findings.size());
        const bool alarmRang = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
        outcome.status = alarmRang ? ChildOutcome::Status::timedOut : ChildOutcome::Status::crashed;
        outcome.death = alarmRang ? "no end after " + std::to_string(timeoutSeconds) + " s" : deathOf(status);
    } else if (threw) {
        outcome.status = ChildOutcome::Status::error;
    } else {
        outcome.status = outcome.findingCount > 0 ? ChildOutcome::Status::failed : ChildOutcome::Status::passed;
    }
    return outcome;
}

} // namespace validate
