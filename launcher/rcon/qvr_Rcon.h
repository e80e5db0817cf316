// The server remote console: the watch timer, the console page, the server
// presets of the Servers sub-page and the chat commands.
#pragma once

#include "launcher/shell/qvr_Shell.h"

#include <QObject>

class QComboBox;
class QTimer;
class TRunPanel;
class TSoundArea;

// The state of the remote-console session.
struct TRconSession {
    QString LastChatLine;
    bool RconLoggedIn = false;
    QString SceneName = QStringLiteral("Default");
    int TakeNumber = 1;
    bool ServerRecording = false;
};

class TRconArea : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QComboBox* edServers;
        QComboBox* edCom;
    };

    TRconArea(IShell& Shell, const TWidgets& W, TRunPanel& RunPanel, TSoundArea& Sound);

    const TRconSession& Session() const { return FSession; }
    QTimer* BF2Catch() const { return FBF2Catch; }
    // The server preset shown on the Servers sub-page.
    QString SelectedPreset() const;

    // Start-up: the session's start values and an empty command line.
    void Reset();
    // The settings OK on the Servers sub-page: the preset's fields stored.
    void StoreServerPreset();

private:
    IShell& FShell;
    const TWidgets FW;
    TRunPanel& FRunPanel;
    TSoundArea& FSound;
    TRconSession FSession;
    QTimer* FBF2Catch = nullptr;
};
