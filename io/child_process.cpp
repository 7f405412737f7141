#include "io/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pq {

namespace {

const size_t kMaxErrorText = 64 * 1024;

void CloseBoth(int fds[2])
{
    for (int i = 0; i < 2; ++i)
        if (fds[i] >= 0)
            ::close(fds[i]);
}

}  // namespace

ChildEnd RunChild(const std::vector<std::string>& command, const std::string& input, std::string& errorText)
{
    ChildEnd end;
    errorText.clear();
    if (command.empty())
        return end;
    int in[2] = {-1, -1}, err[2] = {-1, -1};
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        end.error = errno;
        CloseBoth(in);
        CloseBoth(err);
        return end;
    }
    // The child learns whether exec worked through a pipe that exec closes.
    int started[2] = {-1, -1};
    if (::pipe2(started, O_CLOEXEC) != 0) {
        end.error = errno;
        CloseBoth(in);
        CloseBoth(err);
        return end;
    }
    std::vector<char*> argv;
    for (const std::string& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        end.error = errno;
        CloseBoth(in);
        CloseBoth(err);
        CloseBoth(started);
        return end;
    }
    if (pid == 0) {
        // Ended with the run: a report ended by a signal leaves no program behind it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int devnull = ::open("/dev/null", O_WRONLY);
        if (::dup2(in[0], 0) < 0 || ::dup2(err[1], 2) < 0 || devnull < 0 || ::dup2(devnull, 1) < 0)
            ::_exit(127);
        ::execvp(argv[0], argv.data());
        const int e = errno;
        (void)!::write(started[1], &e, sizeof e);
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(err[1]);
    ::close(started[1]);
    // A program that ends before it has read all its input closes the pipe:
    // the write then fails with EPIPE instead of ending this process.
    struct sigaction ignorePipe {}, previousPipe {};
    ignorePipe.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignorePipe, &previousPipe);
    int execError = 0;
    end.started = ::read(started[0], &execError, sizeof execError) != static_cast<ssize_t>(sizeof execError);
    ::close(started[0]);
    if (!end.started)
        end.error = execError;

    // Its input and its error text together, so that neither pipe fills while
    // the other waits.
    size_t written = 0;
    int toChild = in[1], fromChild = err[0];
    if (!end.started) {
        ::close(toChild);
        toChild = -1;
    }
    char buffer[16384];
    while (toChild >= 0 || fromChild >= 0) {
        pollfd fds[2];
        nfds_t n = 0;
        if (toChild >= 0)
            fds[n++] = {toChild, POLLOUT, 0};
        if (fromChild >= 0)
            fds[n++] = {fromChild, POLLIN, 0};
        if (::poll(fds, n, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (nfds_t i = 0; i < n; ++i) {
            if (fds[i].fd == toChild && (fds[i].revents & (POLLOUT | POLLERR | POLLHUP))) {
                const ssize_t w = written < input.size()
                                      ? ::write(toChild, input.data() + written, input.size() - written)
                                      : 0;
                if (w > 0)
                    written += static_cast<size_t>(w);
                if (written >= input.size() || (w < 0 && errno != EINTR && errno != EAGAIN)) {
                    ::close(toChild);
                    toChild = -1;
                }
            } else if (fds[i].fd == fromChild && (fds[i].revents & (POLLIN | POLLERR | POLLHUP))) {
                const ssize_t r = ::read(fromChild, buffer, sizeof buffer);
                if (r > 0) {
                    if (errorText.size() < kMaxErrorText)
                        errorText.append(buffer, std::min(static_cast<size_t>(r), kMaxErrorText - errorText.size()));
                } else if (r == 0 || errno != EINTR) {
                    ::close(fromChild);
                    fromChild = -1;
                }
            }
        }
    }
    if (toChild >= 0)
        ::close(toChild);
    if (fromChild >= 0)
        ::close(fromChild);
    ::sigaction(SIGPIPE, &previousPipe, nullptr);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        end.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        end.signal = WTERMSIG(status);
    return end;
}

}  // namespace pq
