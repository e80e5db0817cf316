// The real main window in a temporary program folder, with a temporary game
// folder beside it. Dialogs are scripted; the clock is fixed; the audio
// library is a scripted device (no audio server is needed here); downloads
// are real, from servers the tests start on 127.0.0.1.
#pragma once

#include "common/FileSystem.h"
#include "launcher/library/qvr_Bookmarks.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/platform/Download.h"
#include "launcher/platform/ProcessList.h"
#include "launcher/playback/qvr_Profiles.h"
#include "launcher/playback/qvr_Run.h"
#include "launcher/rcon/qvr_Rcon.h"
#include "launcher/shell/qvr_Main.h"
#include "launcher/shell/qvr_Settings.h"
#include "launcher/sound/qvr_Sound.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <thread>

class TFixedClock : public IClock {
public:
    QDateTime Now() const override { return FNow; }
    QDateTime FNow = QDateTime(QDate(2026, 12, 8), QTime(19, 41, 33));
};

// A scripted audio device: its inputs, each on or off with a level; every
// call after the version check is recorded; a started recording is handed
// sound on demand. Every call but the version fails while the recording
// side is not started, as the library's do.
class TScriptedBass : public IBass {
public:
    struct TInput {
        QString Name;
        bool On = false;
        int Level = 50;
    };

    uint32_t GetVersion() override { return Version; }
    bool RecordInit(int Device) override {
        Calls << QStringLiteral("RecordInit(%1)").arg(Device);
        FStarted = DeviceOk;
        return DeviceOk;
    }
    bool Init(int Device, uint32_t Freq, uint32_t, void*) override {
        Calls << QStringLiteral("Init(%1,%2)").arg(Device).arg(Freq);
        return DeviceOk;
    }
    bool RecordFree() override {
        Calls << "RecordFree";
        FStarted = false;
        StopRecording();
        return true;
    }
    bool Free() override { return Calls << "Free", true; }
    bool Stop() override { return Calls << "Stop", true; }

    std::optional<QString> RecordGetInputName(int Input) override {
        if (!Exists(Input))
            return std::nullopt;
        return Inputs[Input].Name;
    }
    uint32_t RecordGetInput(int Input) override {
        if (!Exists(Input))
            return 0xFFFFFFFF;
        return (Inputs[Input].On ? 0 : CInputOff) | static_cast<uint32_t>(Inputs[Input].Level);
    }
    bool RecordSetInput(int Input, uint32_t Setting) override {
        Calls << QStringLiteral("SetInput(%1,%2)").arg(Input).arg(Setting, 0, 16);
        if (!Exists(Input))
            return false;
        if (Setting & CInputOff)
            Inputs[Input].On = false;
        if (Setting & CInputOn)
            Inputs[Input].On = true;
        if (Setting & CInputLevel)
            Inputs[Input].Level = std::min<int>(Setting & CInputLevelMask, 100);
        return true;
    }
    uint32_t RecordStart(uint32_t Freq, uint32_t Chans, uint32_t Flags, TRecordProc Proc,
                         void* User) override {
        Calls << QStringLiteral("RecordStart(%1,%2,%3)").arg(Freq).arg(Chans).arg(Flags);
        if (!FStarted || !RecordOk || FChannel != 0)
            return 0;
        FChannel = ++FLastChannel;
        FProc = Proc;
        FUser = User;
        return FChannel;
    }
    bool ChannelStop(uint32_t Channel) override {
        Calls << QStringLiteral("ChannelStop(%1)").arg(Channel);
        if (Channel == 0 || Channel != FChannel)
            return false;
        StopRecording();
        return true;
    }

    // Hands a block of sound to the running recording's callback, on a
    // thread of its own as the library does; false when no recording runs.
    // A callback that returns 0 ends the recording.
    bool Deliver(const QByteArray& Sound) {
        if (!FProc)
            return false;
        int GoOn = 0;
        std::thread([&] {
            GoOn = FProc(FChannel, Sound.constData(), static_cast<uint32_t>(Sound.size()), FUser);
        }).join();
        if (GoOn == 0)
            FProc = nullptr;
        return true;
    }
    bool Recording() const { return FChannel != 0; }
    // The inputs that are on, by position.
    QList<int> OnInputs() const {
        QList<int> On;
        for (int I = 0; I < Inputs.size(); ++I)
            if (Inputs[I].On)
                On << I;
        return On;
    }

    uint32_t Version = CBassVersion;
    bool DeviceOk = true;
    bool RecordOk = true;
    QList<TInput> Inputs;
    QStringList Calls;

private:
    bool Exists(int Input) const { return FStarted && Input >= 0 && Input < Inputs.size(); }
    void StopRecording() {
        FChannel = 0;
        FProc = nullptr;
        FUser = nullptr;
    }

    bool FStarted = false;
    uint32_t FChannel = 0, FLastChannel = 0;
    TRecordProc FProc = nullptr;
    void* FUser = nullptr;
};

// The running programs for a game that tests start and end at will: a shell,
// and the game while Runs is set. Counts the listings, so a test sees whether
// a tick asked.
class TScriptedGame : public IProcessList {
public:
    void ListProcessModules(QStringList& List) override {
        ++Listings;
        List << QStringLiteral("/usr/bin/bash");
        if (Runs)
            List << QStringLiteral("C:\\Program Files\\EA GAMES\\Battlefield 2\\bf2.EXE");
    }
    bool Runs = false;
    int Listings = 0;
};

// Records the programs the window starts instead of starting them.
class TRecordingStarter : public IProgramStarter {
public:
    bool ShellOpen(const QString& File, const QString& Params, const QString& WorkDir,
                   QString* = nullptr) override {
        Started << QStringList{File, Params, WorkDir};
        return true;
    }
    QList<QStringList> Started;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppHost = Tmp.path() + "/Quorvane";
        GameHost = Tmp.path() + "/Battlefield 2";
        QDir().mkpath(AppHost + "/Languages");
        QDir().mkpath(GameHost);
        for (const char* Lang : {"English", "Italian", "Spanish", "Swedish"})
            QFile::copy(QString(QVR_SOURCE_DIR) + "/resources/Languages/" + Lang + ".lang",
                        AppHost + "/Languages/" + Lang + ".lang");
        QFile::copy(QString(QVR_SOURCE_DIR) + "/resources/Presets.ini", AppHost + "/Presets.ini");
        QFile::setPermissions(AppHost + "/Presets.ini", QFile::ReadOwner | QFile::WriteOwner);
        AppDir = QvrFs::WinPathOfHost(AppHost) + "\\";
        GameDir = QvrFs::WinPathOfHost(GameHost) + "\\";
        Services = {&Dialogs, &Clock, &Starter, &Processes, &Bass, AppHost + "/qvr", &Downloader};
    }
    void TearDown() override {
        Window.reset();
        // An answer queued for a box that never opened is a test that did
        // not go where it meant to.
        EXPECT_TRUE(Dialogs.AllAnswersUsed());
    }

    // A game folder with BF2.exe and the bf2 mod's description.
    void MakeGame(const QByteArray& ModDesc = "<version> 1.5.3153-802.0 </version>\r\n") {
        WriteHost(GameHost + "/BF2.exe", "MZ");
        WriteHost(GameHost + "/mods/bf2/mod.desc", ModDesc);
    }
    void WriteHost(const QString& Path, const QByteArray& Data) {
        ASSERT_TRUE(WriteHostFile(Path, Data)) << Path.toStdString();
    }
    QByteArray ReadHost(const QString& Path) { return ReadHostFile(Path); }
    void WriteSettings(const QByteArray& Ini) { WriteHost(AppHost + "/Settings.ini", Ini); }
    // Settings of a configured launcher pointing at the game folder.
    void WriteConfigured(const QByteArray& Extra = {}) {
        WriteSettings("[SETTINGS]\r\nbf2dir=" + GameDir.toUtf8() + "\r\n" + Extra);
    }

    TfrmMain& Create() {
        Window = std::make_unique<TfrmMain>(Services);
        return *Window;
    }
    TfrmMain& Start() {
        Create();
        Window->show();
        return *Window;
    }
    // Chooses a map of the current mod through the maps menu, its level
    // folder made first.
    void ChooseMap(const QString& Map) {
        QDir().mkpath(GameHost + "/mods/" + Window->Library().CurrentMod() + "/Levels/" + Map);
        QMenu* Menu = Window->RunPanel().MapsMenu();
        Window->RunPanel().FillMapsMenu(Menu);
        for (QAction* Item : Menu->actions())
            if (Item->text() == Map)
                return Item->trigger();
        ADD_FAILURE() << "no map item " << Map.toStdString();
    }
    template <typename T> T* Find(const char* Name) {
        T* W = Window->findChild<T*>(QLatin1String(Name));
        EXPECT_NE(W, nullptr) << Name;
        return W;
    }
    // Makes current, as a click does, the one row of the list whose Column
    // reads Text.
    void ChooseRow(const char* List, const QString& Text, int Column = 0) {
        auto* Tree = Find<QTreeWidget>(List);
        const QList<QTreeWidgetItem*> Rows = Tree->findItems(Text, Qt::MatchExactly, Column);
        ASSERT_EQ(Rows.size(), 1) << List << ": " << Text.toStdString();
        Tree->setCurrentItem(Rows.first());
    }
    // The log's lines, each without its time stamp; a mark (the number of
    // lines so far) and the lines after it.
    QStringList LogLines() {
        QStringList Lines = Find<QPlainTextEdit>("edConsole")->toPlainText().split('\n');
        for (QString& L : Lines)
            L = L.mid(L.indexOf("] ") + 2);
        return Lines;
    }
    qsizetype LogMark() { return LogLines().size(); }
    QStringList LogSince(qsizetype Mark) { return LogLines().mid(Mark); }

    QTemporaryDir Tmp;
    QString AppHost, GameHost, AppDir, GameDir;
    TScriptedDialogs Dialogs;
    TFixedClock Clock;
    TRecordingStarter Starter;
    TProcFsProcessList Processes;
    TScriptedBass Bass;
    // The real downloader: tests download from a local HTTP server.
    TUrlDownloader Downloader;
    TLauncherServices Services;
    std::unique_ptr<TfrmMain> Window;
};
