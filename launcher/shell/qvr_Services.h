// What the launcher's window gets from the world. main() hands the real ones;
// tests hand real ones pointed at temporary folders, or scripted ones where a
// real one cannot run here.
#pragma once

#include "common/Services.h"

#include <QString>
#include <cstdint>

class IDialogs;
class IDownloader;
class IProcessList;

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
