#include "fleet/engine.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pq {

namespace {

sigset_t g_held;      // the interrupts this process takes itself
sigset_t g_original;  // the signal mask it was started with, for the children

}  // namespace

const char* DocumentListName() { return "documents"; }
const char* LogNameListName() { return "lognames"; }

std::vector<std::string> ParallelCommand(const EngineOptions& o)
{
    // --plain: the fleet runs the same whatever a user's ~/.parallel/config
    // or $PARALLEL says. The two lists are read in step (::::+): job k runs
    // document k and keeps its output under logs/ by log name k, standard
    // error in NAME.err. A report gets 10 s to end on SIGTERM before SIGKILL.
    std::vector<std::string> c{"parallel", "--plain", "--null", "--joblog", o.outDir + "/joblog"};
    if (o.resume)
        c.push_back("--resume-failed");
    if (o.jobs)
        c.insert(c.end(), {"--jobs", std::to_string(*o.jobs)});
    if (o.hosts)
        c.insert(c.end(), {"--sshloginfile", *o.hosts, "--workdir", o.workDir});
    c.insert(c.end(), {"--results", o.outDir + "/logs/{2}", "--termseq", "TERM,10000,KILL,25", "--quote",
                       o.program, "{1}", "::::", o.outDir + "/" + DocumentListName(), "::::+",
                       o.outDir + "/" + LogNameListName()});
    return c;
}

void HoldInterrupts()
{
    // Children are collected with waitpid, which an inherited SIG_IGN would defeat.
    std::signal(SIGCHLD, SIG_DFL);
    sigemptyset(&g_held);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        // A signal the caller ignores (nohup, a background job) stays ignored.
        if (::sigaction(s, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            sigaddset(&g_held, s);
    }
    sigprocmask(SIG_BLOCK, &g_held, &g_original);
}

int PendingInterrupt()
{
    sigset_t pending;
    sigpending(&pending);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        if (sigismember(&g_held, s) && sigismember(&pending, s))
            return s;
    return 0;
}

EngineEnd RunEngine(const std::vector<std::string>& command)
{
    EngineEnd end;
    sigset_t awaited = g_held;
    sigaddset(&awaited, SIGCHLD);
    sigprocmask(SIG_BLOCK, &awaited, nullptr);

    std::vector<char*> argv;
    for (const std::string& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    // Its own process group: a Ctrl-C at the terminal reaches this process
    // alone, which passes it on once, as it passes on a signal sent to it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &g_original);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        std::fprintf(stderr, "pqfleet: cannot start %s: %s\n", argv[0], std::strerror(failed));
        return end;
    }
    end.started = true;

    for (;;) {
        siginfo_t info;
        const int s = sigwaitinfo(&awaited, &info);
        if (s == SIGCHLD) {
            int status = 0;
            const pid_t ended = waitpid(pid, &status, WNOHANG);
            if (ended == pid) {
                end.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                return end;
            }
            if (ended < 0 && errno != EINTR)
                return end;
        } else if (s > 0 && end.interrupt == 0) {
            end.interrupt = s;
            ::kill(pid, s == SIGHUP ? SIGTERM : s);
        }
    }
}

void EndBySignal(int signal)
{
    std::signal(signal, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    std::fflush(nullptr);
    sigprocmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(signal);
    _exit(128 + signal);
}

}  // namespace pq
