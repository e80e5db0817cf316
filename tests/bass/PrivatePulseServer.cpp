#include "PrivatePulseServer.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

bool IsOnPath(const std::string& Program) {
    const char* Path = std::getenv("PATH");
    std::stringstream Dirs(Path != nullptr ? Path : "/usr/bin:/bin");
    std::string Dir;
    while (std::getline(Dirs, Dir, ':')) {
        if (!Dir.empty() && access((Dir + "/" + Program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

// The test's environment with some names replaced and some dropped; a value of
// nullptr drops the name.
std::vector<std::string>
ChildEnvironment(const std::vector<std::pair<std::string, const char*>>& Changes) {
    std::vector<std::string> Env;
    for (char** E = environ; *E != nullptr; ++E) {
        std::string Entry = *E;
        std::string Name = Entry.substr(0, Entry.find('='));
        bool Changed = false;
        for (const auto& [Key, Value] : Changes)
            Changed = Changed || Key == Name;
        if (!Changed)
            Env.push_back(Entry);
    }
    for (const auto& [Key, Value] : Changes) {
        if (Value != nullptr)
            Env.push_back(Key + "=" + Value);
    }
    return Env;
}

// Starts a program with its output going to a file; -1 when it cannot start.
pid_t Spawn(const std::vector<std::string>& Args, const std::vector<std::string>& Env,
            const std::string& OutputFile) {
    std::vector<char*> Argv;
    for (const auto& A : Args)
        Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);
    std::vector<char*> Envp;
    for (const auto& E : Env)
        Envp.push_back(const_cast<char*>(E.c_str()));
    Envp.push_back(nullptr);

    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 1, OutputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0600);
    posix_spawn_file_actions_adddup2(&Actions, 1, 2);
    pid_t Pid = -1;
    int Error = posix_spawnp(&Pid, Argv[0], &Actions, nullptr, Argv.data(), Envp.data());
    posix_spawn_file_actions_destroy(&Actions);
    return Error == 0 ? Pid : -1;
}

// Waits for a child to end; false when it still runs at the deadline.
bool WaitForExit(pid_t Pid, TClock::time_point Deadline, int* Status = nullptr) {
    for (;;) {
        int S = 0;
        pid_t R = waitpid(Pid, &S, WNOHANG);
        if (R == Pid || (R < 0 && errno != EINTR)) {
            if (Status != nullptr)
                *Status = R == Pid ? S : -1;
            return true;
        }
        if (TClock::now() >= Deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The environment the server and its clients run in.
std::vector<std::string> ServerEnvironment(const std::string& Home, const std::string& Runtime) {
    return ChildEnvironment({{"HOME", Home.c_str()},
                             {"XDG_RUNTIME_DIR", Runtime.c_str()},
                             {"PULSE_SERVER", nullptr},
                             {"DBUS_SESSION_BUS_ADDRESS", nullptr},
                             {"DISPLAY", nullptr}});
}

void PutLittleEndian(std::string& Out, uint32_t Value, int Bytes) {
    for (int I = 0; I < Bytes; ++I)
        Out += static_cast<char>((Value >> (8 * I)) & 0xFF);
}

// A 440 Hz tone, 44100 Hz, two channels of 16-bit samples, as a WAV file.
std::string ToneWave(int Milliseconds) {
    const uint32_t Frames = 44100u * static_cast<uint32_t>(Milliseconds) / 1000u;
    std::string Samples;
    for (uint32_t F = 0; F < Frames; ++F) {
        const double Phase = 2 * M_PI * 440.0 * F / 44100.0;
        const auto Sample = static_cast<int16_t>(std::lround(16000 * std::sin(Phase)));
        PutLittleEndian(Samples, static_cast<uint16_t>(Sample), 2);
        PutLittleEndian(Samples, static_cast<uint16_t>(Sample), 2);
    }
    std::string Wave = "RIFF";
    PutLittleEndian(Wave, static_cast<uint32_t>(36 + Samples.size()), 4);
    Wave += "WAVEfmt ";
    // fmt size, PCM, channels, rate, bytes per second, frame size, bits
    const std::pair<uint32_t, int> Format[] = {{16, 4},     {1, 2}, {2, 2}, {44100, 4},
                                               {176400, 4}, {4, 2}, {16, 2}};
    for (const auto& [Value, Bytes] : Format)
        PutLittleEndian(Wave, Value, Bytes);
    Wave += "data";
    PutLittleEndian(Wave, static_cast<uint32_t>(Samples.size()), 4);
    return Wave + Samples;
}

} // namespace

const char* const TPrivatePulseServer::GameSink =
    "module-null-sink sink_name=game sink_properties=device.description=Game";

bool TPrivatePulseServer::IsAvailable() {
    return IsOnPath("pulseaudio") && IsOnPath("pactl");
}

TPrivatePulseServer::~TPrivatePulseServer() {
    Stop();
}

bool TPrivatePulseServer::Start(const std::vector<std::string>& Modules, bool DefaultSocket) {
    Stop();
    // Under /tmp, so the socket's path stays within the length a socket allows.
    char Template[] = "/tmp/qvr-pulse-XXXXXX";
    if (mkdtemp(Template) == nullptr)
        return false;
    FDir = Template;
    std::string Home = FDir + "/home";
    std::filesystem::create_directory(Home);
    mkdir(RuntimeDir().c_str(), 0700);
    FSocket = DefaultSocket ? RuntimeDir() + "/pulse/native" : FDir + "/native";

    std::vector<std::string> Args = {"pulseaudio",          "--daemonize=no",     "-n",
                                     "--exit-idle-time=-1", "--disallow-exit",    "--realtime=no",
                                     "--high-priority=no",  "--log-target=stderr"};
    for (const auto& M : Modules)
        Args.push_back("--load=" + M);
    Args.push_back(DefaultSocket ? "--load=module-native-protocol-unix"
                                 : "--load=module-native-protocol-unix socket=" + FSocket);
    auto Env = ServerEnvironment(Home, RuntimeDir());
    FPid = Spawn(Args, Env, FDir + "/server.log");
    if (FPid < 0)
        return false;

    // The server is up once a client gets its answer.
    auto Deadline = TClock::now() + std::chrono::seconds(5);
    std::vector<std::string> Info = {"pactl", "--server=" + Address(), "info"};
    while (TClock::now() < Deadline) {
        pid_t Pactl = Spawn(Info, Env, FDir + "/pactl.log");
        int Status = -1;
        if (Pactl < 0 || !WaitForExit(Pactl, Deadline, &Status))
            break;
        if (WIFEXITED(Status) && WEXITSTATUS(Status) == 0)
            return true;
        if (WaitForExit(FPid, TClock::now(), &Status)) {
            FPid = -1; // it ended by itself
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void TPrivatePulseServer::Stop() {
    if (FPid > 0) {
        kill(FPid, SIGTERM);
        if (!WaitForExit(FPid, TClock::now() + std::chrono::seconds(3))) {
            kill(FPid, SIGKILL);
            WaitForExit(FPid, TClock::now() + std::chrono::seconds(3));
        }
        FPid = -1;
    }
    if (!FDir.empty()) {
        std::error_code Ignored;
        std::filesystem::remove_all(FDir, Ignored);
        FDir.clear();
    }
}

std::string TPrivatePulseServer::Log() const {
    std::ifstream In(FDir + "/server.log");
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

bool TPrivatePulseServer::RunClient(const std::vector<std::string>& Args,
                                    std::string* Output) const {
    if (Args.empty() || FDir.empty())
        return false;
    std::vector<std::string> Command = {Args[0], "--server=" + Address()};
    Command.insert(Command.end(), Args.begin() + 1, Args.end());
    const std::string OutputFile = FDir + "/client.out";
    std::filesystem::remove(OutputFile);
    pid_t Pid = Spawn(Command, ServerEnvironment(FDir + "/home", RuntimeDir()), OutputFile);
    int Status = -1;
    if (Pid < 0)
        return false;
    if (!WaitForExit(Pid, TClock::now() + std::chrono::seconds(60), &Status)) {
        kill(Pid, SIGKILL);
        WaitForExit(Pid, TClock::now() + std::chrono::seconds(3));
        return false;
    }
    if (Output != nullptr) {
        std::ifstream In(OutputFile);
        std::stringstream Text;
        Text << In.rdbuf();
        *Output = Text.str();
    }
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

bool TPrivatePulseServer::PlayTone(int Milliseconds) const {
    const std::string File = FDir + "/tone.wav";
    {
        std::ofstream Out(File, std::ios::binary | std::ios::trunc);
        Out << ToneWave(Milliseconds);
        if (!Out)
            return false;
    }
    return RunClient({"paplay", "--latency-msec=20", "-d", "game", File});
}
