// Child processes that a test or benchmark starts and always ends: the set
// kills and reaps them when it goes, and each also learns its starter's pid so
// that a sleeper dies with it should the starter crash first.
#pragma once

#include "support/WaitUntil.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

class TChildren {
public:
    TChildren() = default;
    TChildren(const TChildren&) = delete;
    TChildren& operator=(const TChildren&) = delete;
    ~TChildren() { KillAll(); }

    // Starts Program with Argv (argv[0] first; empty: the program's path) and
    // Env ("NAME=value") added to this process's environment. The pid, or -1.
    // The program runs, with its command line, when this returns.
    pid_t Start(const QString& Program, QStringList Argv = {}, const QStringList& Env = {}) {
        if (Argv.isEmpty())
            Argv << Program;
        std::vector<QByteArray> Bytes;
        for (const QString& A : Argv)
            Bytes.push_back(QFile::encodeName(A));
        std::vector<char*> Args;
        for (QByteArray& B : Bytes)
            Args.push_back(B.data());
        Args.push_back(nullptr);
        std::vector<QByteArray> EnvBytes{"QVR_SLEEPER_PARENT=" + QByteArray::number(::getpid())};
        for (const QString& E : Env)
            EnvBytes.push_back(E.toLocal8Bit());
        std::vector<char*> EnvList;
        for (QByteArray& B : EnvBytes)
            EnvList.push_back(B.data());
        for (char** E = environ; *E; ++E)
            EnvList.push_back(*E);
        EnvList.push_back(nullptr);
        pid_t Pid = -1;
        const QByteArray Path = QFile::encodeName(Program);
        if (::posix_spawn(&Pid, Path.constData(), nullptr, nullptr, Args.data(), EnvList.data()) !=
            0)
            return -1;
        FPids.push_back(Pid);
        // The spawn returns once the exec has begun; the command line of the
        // new program is set a moment later (unless it has ended already).
        const QString Proc = QStringLiteral("/proc/%1/").arg(Pid);
        WaitUntil([&] {
            QFile Cmdline(Proc + QStringLiteral("cmdline")), Stat(Proc + QStringLiteral("stat"));
            return (Cmdline.open(QIODevice::ReadOnly) && !Cmdline.read(1).isEmpty()) ||
                   (Stat.open(QIODevice::ReadOnly) && Stat.readAll().contains(") Z "));
        });
        return Pid;
    }

    void KillAll() {
        for (const pid_t Pid : FPids)
            ::kill(Pid, SIGKILL);
        for (const pid_t Pid : FPids)
            while (::waitpid(Pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        FPids.clear();
    }

    // Kills one child and reaps it.
    void End(pid_t Pid) {
        ::kill(Pid, SIGKILL);
        while (::waitpid(Pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        std::erase(FPids, Pid);
    }

    std::size_t Count() const { return FPids.size(); }

private:
    std::vector<pid_t> FPids;
};
