// The server remote console: the watch timer and the client's connection,
// the chat commands, the console page and the server presets of the Servers
// sub-page with their privileged players.
#pragma once

#include "launcher/platform/TcpClient.h"
#include "launcher/rcon/ChatBuffer.h"
#include "launcher/rcon/ChatCommands.h"
#include "launcher/shell/qvr_Shell.h"

#include <QIcon>
#include <QObject>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolButton;
class QTreeWidget;
class TRunPanel;
class TSoundArea;
struct TServerPreset;

// The state of the remote-console session.
struct TRconSession {
    // The last numbered line read while chat reading was on (the repeat
    // filter), with the parser that keeps it.
    TChatBuffer LastChatLine;
    // The server accepted the login; cleared whenever the connection ends.
    bool RconLoggedIn = false;
    // The preset last chosen from the console's server menu.
    QString CurrentServerPreset;
    // SceneName, TakeNumber, ServerRecording.
    TChatCommandState Chat;
};

class TRconArea : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        // The Servers sub-page.
        QComboBox* edServers;
        QToolButton* SpeedButton4;
        QLineEdit* edHost;
        QLineEdit* edPort;
        QLineEdit* edPass;
        QCheckBox* cbReadChat;
        QTreeWidget* edPlayers;
        // The console page.
        QPlainTextEdit* edConsole;
        QComboBox* edCom;
        QToolButton* btnConnect;
        QToolButton* btnDisconnect;
    };

    TRconArea(IShell& Shell, const TWidgets& W, TRunPanel& RunPanel, TSoundArea& Sound);

    const TRconSession& Session() const { return FSession; }
    // The watch timer; its Tag property is 1 until the game is seen, then 0.
    QTimer* BF2Catch() const { return FBF2Catch; }
    // The window's remote-console client.
    TTcpClient& BF2() { return FBF2; }
    QMenu* ServersMenu() const { return FMenuServers; }
    // The server preset shown on the Servers sub-page.
    QString SelectedPreset() const;

    // Start-up: the session's start values and an empty command line.
    void Reset();
    // The settings OK on the Servers sub-page: the preset's fields stored.
    void StoreServerPreset();

    // The watch timer's tick and the client's events.
    void BF2CatchTimer();
    void BF2Connected();
    void BF2Disconnected();
    // A chat line of a player, handed on by the tick.
    void HandleChatCommand(const QString& Text, const QString& Player);

    // The console page.
    void taConsoleShow();
    void ConnectToBF2Server(QAction* Item);
    // Enter (13) runs the command line and is consumed (set to 0).
    void edComKeyPress(char& Key);
    void btnDisconnectClick();
    void edConsoleEnter();

    // The Servers sub-page.
    void taServerShow();
    void edServersSelect();
    void SpeedButton4Click();
    void menuAddPlayerClick();
    void menuRemovePlayerClick();
    void taServerExit();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void MakeMenus();
    void SetConnectButtons();
    // Reselects the connected preset on the Servers sub-page and loads it.
    void ReselectCurrentPreset();
    // The tick's read; false when it failed as it did before on this
    // connection (logged; the tick ends).
    bool ReadServerLine(QByteArray& Line);
    void ParseChatLine(const QByteArray& Line);
    // The tick's steps that run while the game is seen or after it has gone.
    void WatchGame();
    void AnswerChallenge(const QByteArray& Line);
    // True when the whole login block ran (the tick then ends).
    bool GreetAfterLogin();
    // Lets the window process its pending events (the freeze guard's work).
    static void ProcessMessages();

    TServerPreset FieldsAsPreset() const;
    void SaveServerPreset(const QString& Name);
    QStringList PrivilegedPlayers() const;
    void AddPlayerEntry(const QString& Name);
    void WriteSelectedPreset(const QString& Name);
    QString LangString(const char* Ident, const char* Section) const;

    IShell& FShell;
    const TWidgets FW;
    TRunPanel& FRunPanel;
    TSoundArea& FSound;
    TRconSession FSession;
    TTcpClient FBF2;
    QTimer* FBF2Catch = nullptr;
    QMenu* FMenuServers = nullptr;
    QMenu* FMenuPrivileges = nullptr;
    QIcon FServerImage;
    QIcon FPlayerImage;
    // A tick that waits inside a client operation lets the window work; a
    // tick due meanwhile is skipped, not run inside the first.
    bool FInTick = false;
    // The read failure already shown in a box on this connection.
    QString FReadFailureShown;
};
