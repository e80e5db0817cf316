// A PulseAudio server of the test's own: started headless in a fresh temporary
// folder that also holds its HOME and runtime folder, stopped by its own PID.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class TPrivatePulseServer {
public:
    // Module loads that give the server one sink, "game", whose monitor is a source.
    static const char* const GameSink;

    // Whether pulseaudio and pactl are installed.
    static bool IsAvailable();

    TPrivatePulseServer() = default;
    ~TPrivatePulseServer();
    TPrivatePulseServer(const TPrivatePulseServer&) = delete;
    TPrivatePulseServer& operator=(const TPrivatePulseServer&) = delete;

    // Starts the server with these module loads besides its socket and waits
    // until `pactl info` answers. With DefaultSocket the socket is the one a
    // client finds through XDG_RUNTIME_DIR, else a path of its own.
    bool Start(const std::vector<std::string>& Modules, bool DefaultSocket = false);
    void Stop();

    // "unix:<socket path>", for PULSE_SERVER.
    std::string Address() const { return "unix:" + FSocket; }
    std::string RuntimeDir() const { return FDir + "/runtime"; }
    // The server's own output, for a failure message.
    std::string Log() const;

    // Runs a client of this server (pactl, paplay: the program, then its
    // arguments) until it ends; true when it exits with 0. Its output goes to
    // Output when given.
    bool RunClient(const std::vector<std::string>& Args, std::string* Output = nullptr) const;
    // Plays a sine tone of about half the full amplitude into the sink "game"
    // and returns once it has played.
    bool PlayTone(int Milliseconds) const;

private:
    std::string FDir;
    std::string FSocket;
    pid_t FPid = -1;
};
