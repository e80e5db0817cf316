// Fixtures of the audio library's tests: each test leaves the library with
// both sides stopped, and a server test points the library at a private
// PulseAudio server of its own.
#pragma once

#include "bass/bass.h"

#include "PrivatePulseServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

// Sets an environment variable for one test and puts the old value back.
class TEnvOverride {
public:
    TEnvOverride(const char* Name, const char* Value) : FName(Name) {
        if (const char* Old = std::getenv(Name))
            FOld = Old;
        if (Value != nullptr)
            setenv(Name, Value, 1);
        else
            unsetenv(Name);
    }
    ~TEnvOverride() {
        if (FOld)
            setenv(FName.c_str(), FOld->c_str(), 1);
        else
            unsetenv(FName.c_str());
    }
    TEnvOverride(const TEnvOverride&) = delete;
    TEnvOverride& operator=(const TEnvOverride&) = delete;

private:
    std::string FName;
    std::optional<std::string> FOld;
};

class TBassTest : public ::testing::Test {
protected:
    void TearDown() override {
        BASS_RecordFree();
        BASS_Free();
    }
};

class TBassServerTest : public TBassTest {
protected:
    void SetUp() override {
        if (!TPrivatePulseServer::IsAvailable())
            GTEST_SKIP() << "pulseaudio or pactl is not installed";
    }
    void TearDown() override {
        TBassTest::TearDown();
        FServer.Stop();
    }
    // Starts the server and points the library at it.
    bool StartServer(const std::vector<std::string>& Modules) {
        if (!FServer.Start(Modules))
            return false;
        FAddress.emplace("PULSE_SERVER", FServer.Address().c_str());
        return true;
    }

    TPrivatePulseServer FServer;
    std::optional<TEnvOverride> FAddress;
};
