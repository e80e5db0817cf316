// What the launcher's window gets from the world. main() hands the real ones;
// tests hand real ones pointed at temporary folders, or scripted ones where a
// real one cannot run here.
#pragma once

#include "common/Services.h"

#include <QString>
#include <cstdint>
#include <optional>

class IDialogs;
class IDownloader;
class IProcessList;

// The audio library's version the launcher is made for: 2.1.
inline constexpr uint32_t CBassVersion = 0x00010002;

// The audio library's calls, as the launcher makes them.
class IBass {
public:
    virtual ~IBass() = default;
    virtual uint32_t GetVersion() = 0;
    virtual bool RecordInit(int Device) = 0;
    virtual bool Init(int Device, uint32_t Freq, uint32_t Flags, void* Window) = 0;
    virtual bool RecordFree() = 0;
    virtual bool Free() = 0;
    virtual bool Stop() = 0;

    // Recording inputs, numbered from 0 without gaps.
    // Settings of RecordSetInput; CInputOff is also the "off" bit of the
    // state that RecordGetInput gives, whose low 16 bits are the level.
    static constexpr uint32_t CInputOff = 0x10000;
    static constexpr uint32_t CInputOn = 0x20000;
    static constexpr uint32_t CInputLevel = 0x40000; // or'ed with a level 0..100
    static constexpr uint32_t CInputLevelMask = 0xFFFF;
    // The name of an input; none past the last one.
    virtual std::optional<QString> RecordGetInputName(int Input) = 0;
    // The state of an input; all bits set when the call fails.
    virtual uint32_t RecordGetInput(int Input) = 0;
    // Fails past the last input and for a negative one.
    virtual bool RecordSetInput(int Input, uint32_t Setting) = 0;

    // Called on the recording's own thread with each block of recorded
    // sound, valid only during the call; returning 0 ends the recording.
    using TRecordProc = int (*)(uint32_t Channel, const void* Buffer, uint32_t Length, void* User);
    // Records the input that is on: Freq frames per second of Chans channels,
    // Flags 0 for 16-bit samples. The channel, or 0 when it cannot start.
    virtual uint32_t RecordStart(uint32_t Freq, uint32_t Chans, uint32_t Flags, TRecordProc Proc,
                                 void* User) = 0;
    // Stops a recording; once it returns, its callback runs no more.
    virtual bool ChannelStop(uint32_t Channel) = 0;
};

struct TLauncherServices {
    IDialogs* Dialogs = nullptr;
    IClock* Clock = nullptr;
    IProgramStarter* Starter = nullptr;
    IProcessList* Processes = nullptr;
    IBass* Bass = nullptr;
    // The program file's host path; its folder is the program folder.
    QString ProgramFile;
    // Downloads of bookmarked demos; none: every download fails.
    IDownloader* Downloader = nullptr;
};
