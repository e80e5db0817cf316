#include "launcher/rcon/qvr_Rcon.h"

#include "common/Dialogs.h"
#include "common/FileSystem.h"
#include "common/ProfileFile.h"
#include "common/TextCodec.h"
#include "common/TextRules.h"
#include "launcher/platform/ProcessList.h"
#include "launcher/playback/qvr_Run.h"
#include "launcher/rcon/ConsoleCommands.h"
#include "launcher/rcon/RconWire.h"
#include "launcher/rcon/ServerPresets.h"
#include "launcher/rcon/qvr_AddUser.h"
#include "launcher/shell/qvr_Controls.h"
#include "launcher/sound/qvr_Sound.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <exception>

namespace {

const QString CLocalhost = QString::fromLatin1(CLocalhostPreset);
const QString CServers = QStringLiteral("SERVERS");
const QString CSelected = QStringLiteral("selected");

// The watch timer's Tag: the game has not been seen (1) or has (0).
const char* const CTagProperty = "Tag";

} // namespace

TRconArea::TRconArea(IShell& Shell, const TWidgets& W, TRunPanel& RunPanel, TSoundArea& Sound)
    : FShell(Shell), FW(W), FRunPanel(RunPanel), FSound(Sound),
      FServerImage(ImageList("imgMenuIcons", 1).value(0)),
      FPlayerImage(ImageList("imgSelfCheck", 5).value(4)) {
    FBF2Catch = new QTimer(this);
    FBF2Catch->setObjectName(QStringLiteral("BF2Catch"));
    FBF2Catch->setInterval(1000);
    FBF2Catch->setProperty(CTagProperty, 1);
    FShell.Connect(FBF2Catch, &QTimer::timeout, this, [this] { BF2CatchTimer(); });

    // The client's events run inside its operations; their errors go up
    // through the operation that ran them.
    FBF2.OnConnected = [this] { BF2Connected(); };
    FBF2.OnDisconnected = [this] { BF2Disconnected(); };
    // The freeze guard: the window goes on working while an operation waits.
    FBF2.WhileWaiting = [] { ProcessMessages(); };

    MakeMenus();
    FShell.Connect(FW.edServers, &QComboBox::activated, this, [this] { edServersSelect(); });
    FShell.Connect(FW.SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    FShell.Connect(FW.btnDisconnect, &QToolButton::clicked, this, [this] { btnDisconnectClick(); });
    // Enter must reach the command line's handler before the combo box
    // takes the text into its list.
    FW.edCom->setInsertPolicy(QComboBox::NoInsert);
    FW.edCom->installEventFilter(this);
    if (FW.edCom->lineEdit())
        FW.edCom->lineEdit()->installEventFilter(this);
    FW.edConsole->installEventFilter(this);
}

void TRconArea::MakeMenus() {
    QWidget* Owner = FShell.Window();
    FMenuServers = new QMenu(Owner);
    FMenuServers->setObjectName(QStringLiteral("menuServers"));
    FW.btnConnect->setMenu(FMenuServers);
    FW.btnConnect->setPopupMode(QToolButton::InstantPopup);

    // The player list's pop-up menu; its items are the window's, so the
    // language walk gives their captions.
    FMenuPrivileges = new QMenu(Owner);
    FMenuPrivileges->setObjectName(QStringLiteral("menuPrivileges"));
    const struct {
        const char* Name;
        void (TRconArea::*Click)();
    } Items[] = {{"menuAddPlayer", &TRconArea::menuAddPlayerClick},
                 {"menuRemovePlayer", &TRconArea::menuRemovePlayerClick}};
    for (const auto& [Name, Click] : Items) {
        auto* Item = new QAction(Owner);
        Item->setObjectName(QLatin1String(Name));
        FShell.Connect(Item, &QAction::triggered, this, [this, Click] { (this->*Click)(); });
        FMenuPrivileges->addAction(Item);
    }
    FW.edPlayers->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FW.edPlayers, &QWidget::customContextMenuRequested, this, [this](const QPoint& At) {
        FMenuPrivileges->popup(FW.edPlayers->viewport()->mapToGlobal(At));
    });
}

QString TRconArea::SelectedPreset() const {
    return FW.edServers->currentText();
}

void TRconArea::Reset() {
    FSession = TRconSession();
    FW.edCom->clear();
    FW.edCom->clearEditText();
}

bool TRconArea::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::KeyPress &&
        (Watched == FW.edCom || Watched == FW.edCom->lineEdit())) {
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
            char Typed = 13;
            FShell.Guard([&] { edComKeyPress(Typed); });
            return Typed == 0;
        }
    } else if (Event->type() == QEvent::FocusIn && Watched == FW.edConsole) {
        FShell.Guard([this] { edConsoleEnter(); });
    }
    return QObject::eventFilter(Watched, Event);
}

void TRconArea::ProcessMessages() {
    QCoreApplication::processEvents();
}

QString TRconArea::LangString(const char* Ident, const char* Section) const {
    return FShell.GetLangString(QLatin1String(Ident), QLatin1String(Section));
}

// ---------------------------------------------------------------- the watch timer

void TRconArea::BF2CatchTimer() {
    if (FInTick)
        return;
    // Held also while an error box of this tick is open.
    const QScopedValueRollback<bool> Busy(FInTick, true);
    FShell.Guard([this] {
        // One process scan serves the tick's game checks.
        const TProcessTick Tick(FShell.Services().Processes);
        SetConnectButtons();
        WatchGame();
        FSound.ForceSelectedInput();
        if (!FBF2.Connected())
            return;
        QByteArray Line;
        if (!ReadServerLine(Line))
            return;
        const TReceivedLine Received = AnalyzeLine(Line, FSession.RconLoggedIn);
        if (Received.Echo)
            FShell.LogLine(EchoLogLine(Line));
        if (Received.IsChallenge)
            AnswerChallenge(Line);
        if (Received.IsAccepted && GreetAfterLogin())
            return;
        if (Received.IsRefused)
            FBF2.Disconnect();
        if (Received.IsChat() && FW.cbReadChat->isChecked())
            ParseChatLine(Line);
        if (FW.cbReadChat->isChecked() && FSession.RconLoggedIn) {
            try {
                FBF2.WriteLn(CChatBufferPoll);
            } catch (const std::exception&) {
            }
        }
    });
}

bool TRconArea::ReadServerLine(QByteArray& Line) {
    // Not guarded: a closed connection or an over-long line is reported. A
    // failure that comes back at every poll (a chat buffer over the line
    // limit) would open a box at every tick and leave the window unusable:
    // on one connection it is shown once, then logged.
    try {
        Line = FBF2.ReadLn();
        return true;
    } catch (const EError& Error) {
        if (Error.Message() != FReadFailureShown) {
            FReadFailureShown = Error.Message();
            throw;
        }
        FShell.LogLine(Error.Message());
        return false;
    }
}

void TRconArea::SetConnectButtons() {
    const bool Connected = FBF2.Connected();
    FW.btnConnect->setEnabled(!Connected);
    FW.btnDisconnect->setEnabled(Connected);
}

void TRconArea::WatchGame() {
    // The game is asked about afresh at each step: a step may wait, and the
    // game may come or go meanwhile.
    if (FRunPanel.IsBF2Running() && FBF2Catch->property(CTagProperty).toInt() == 1) {
        FShell.LogLine(QLatin1String(CLogGameRunning));
        FBF2Catch->setProperty(CTagProperty, 0);
        FBF2Catch->setInterval(5000);
    }
    // Only with no connection at all: one being opened (the user's choice,
    // while its server is slow to answer) is left to go on.
    if (FRunPanel.IsBF2Running() && FBF2Catch->property(CTagProperty).toInt() == 0 &&
        !FBF2.Connected() && !FBF2.Connecting()) {
        // The local server, when there is one; any failure is silent.
        try {
            const TProfileFile& Servers = FShell.ServersIni();
            FBF2.SetHost(Servers.ReadString(CLocalhost, QStringLiteral("host"), QString()));
            FBF2.SetPort(
                StrToInt(Servers.ReadString(CLocalhost, QStringLiteral("port"), QString())));
            FBF2.Connect();
        } catch (const std::exception&) {
        }
    }
    if (!FRunPanel.IsBF2Running() && FBF2Catch->property(CTagProperty).toInt() == 0) {
        try {
            FBF2.Disconnect();
            FShell.LogLine(QLatin1String(CLogGameShutDown));
            FBF2Catch->setProperty(CTagProperty, 1);
            QvrFs::DeleteFile(FShell.GameDir() + QStringLiteral("quorvane.con"));
        } catch (const std::exception&) {
        }
    }
}

void TRconArea::AnswerChallenge(const QByteArray& Line) {
    try {
        const std::optional<QString> Password = LoginPassword(
            FShell.ServersIni(), FieldsAsPreset(), FBF2.ConnectionHost(), FBF2.ConnectionPort());
        if (!Password) {
            FShell.LogLine(NoPasswordLogLine(FBF2.ConnectionHost(), FBF2.ConnectionPort()));
            return;
        }
        const QByteArray Login = LoginLine(Line, EncodeWindows1252(*Password));
        ProcessMessages();
        FBF2.WriteLn(Login);
    } catch (const std::exception&) {
    }
}

bool TRconArea::GreetAfterLogin() {
    try {
        FBF2Catch->setInterval(3000);
        FShell.LogLine(QLatin1String(CLogLoginSuccessful));
        ProcessMessages();
        FBF2.WriteLn(SayAllLine(QLatin1String(CGreeting)));
        FSession.RconLoggedIn = true;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TRconArea::ParseChatLine(const QByteArray& Line) {
    const std::optional<TChatEntry> Entry = FSession.LastChatLine.Parse(Line);
    if (!Entry)
        return;
    FShell.LogLine(Entry->LogLine);
    if (Entry->ForCommands)
        HandleChatCommand(Entry->Text, Entry->Player);
}

void TRconArea::BF2Connected() {
    FReadFailureShown.clear();
    FShell.LogLine(ConnectedLogLine(FBF2.ConnectionHost(), FBF2.ConnectionPort()));
    ReselectCurrentPreset();
    FBF2.SetTag(0);
}

void TRconArea::BF2Disconnected() {
    FShell.LogLine(DisconnectedLogLine(FBF2.ConnectionHost(), FBF2.ConnectionPort()));
    FSession.RconLoggedIn = false;
    // A reconnection asked for, to the server just left; its failure goes
    // up, and the request stays.
    if (FBF2.Tag() == 1)
        FBF2.Reconnect();
}

void TRconArea::ReselectCurrentPreset() {
    // The chooser is filled when the Servers sub-page is shown; a connection
    // made before that must still find its preset (its password, its
    // players), so the names are read afresh.
    SetComboItems(FW.edServers, ServerPresetNames(FShell.ServersIni()));
    SelectByText(FW.edServers, FSession.CurrentServerPreset);
    edServersSelect();
}

// ---------------------------------------------------------------- chat commands

void TRconArea::HandleChatCommand(const QString& Text, const QString& Player) {
    if (!FBF2.Connected())
        return;
    // The players obeyed are those saved for the connected preset.
    ReselectCurrentPreset();
    const TChatCommandEffect Effect =
        ::HandleChatCommand(FSession.Chat, Text, Player, PrivilegedPlayers(),
                            [this](const QByteArray& Line) { FBF2.WriteLn(Line); });
    if (Effect == TChatCommandEffect::Reconnect) {
        FBF2.SetTag(1);
        FBF2.Disconnect();
    }
}

// ---------------------------------------------------------------- the console page

void TRconArea::taConsoleShow() {
    // An item may be running its click handler (waiting for a connection
    // while the window works): it goes once that handler has returned.
    for (QAction* Old : FMenuServers->actions()) {
        FMenuServers->removeAction(Old);
        Old->deleteLater();
    }
    for (const QString& Name : ServerPresetNames(FShell.ServersIni())) {
        auto* Item = new QAction(FServerImage, Name, FMenuServers);
        FShell.Connect(Item, &QAction::triggered, this, [this, Item] { ConnectToBF2Server(Item); });
        FMenuServers->addAction(Item);
    }
}

void TRconArea::ConnectToBF2Server(QAction* Item) {
    FSession.CurrentServerPreset = PresetNameOfCaption(Item->text());
    // A copy: another choice may change the current preset while this one waits.
    const QString Preset = FSession.CurrentServerPreset;
    ConnectToPreset(FBF2, FShell.ServersIni(), Preset,
                    [this](const QString& Msg) { FShell.LogLine(Msg); });
}

void TRconArea::edComKeyPress(char& Key) {
    if (Key != 13)
        return;
    Key = 0;
    const QString Typed = FW.edCom->currentText();
    FW.edCom->clear();
    FW.edCom->clearEditText();
    RunConsoleCommand(FBF2, Typed, [this](const QString& Msg) { FShell.LogLine(Msg); });
}

void TRconArea::btnDisconnectClick() {
    if (FBF2.Connected())
        FBF2.Disconnect();
}

void TRconArea::edConsoleEnter() {
    FW.edCom->setFocus();
}

// ---------------------------------------------------------------- the Servers sub-page

void TRconArea::taServerShow() {
    FW.edHost->clear();
    FW.edPort->clear();
    FW.edPass->clear();
    FW.cbReadChat->setChecked(true);
    FW.edPlayers->clear();
    TProfileFile& Servers = FShell.ServersIni();
    SetComboItems(FW.edServers, ServerPresetNames(Servers));
    try {
        const TProfileFile& Settings = FShell.SettingsIni();
        if (Settings.ValueExists(CServers, CSelected))
            SelectByText(FW.edServers, Settings.ReadString(CServers, CSelected, QString()));
    } catch (const std::exception&) {
    }
    const QString GameDir = FShell.GameDir();
    if (GameDir.isEmpty())
        return;
    if (EnsureLocalServer(Servers, GameDir)) {
        SetComboItems(FW.edServers, ServerPresetNames(Servers));
        SelectByText(FW.edServers, CLocalhost);
        WriteSelectedPreset(CLocalhost);
    }
    edServersSelect();
}

void TRconArea::edServersSelect() {
    // With no preset chosen the fields are emptied; no section is read (a
    // section without a name, made by hand, must not fill them).
    const QString Name = FW.edServers->currentText();
    const TServerPreset Preset =
        Name.isEmpty() ? TServerPreset() : ReadServerPreset(FShell.ServersIni(), Name);
    FW.edHost->setText(Preset.Host);
    FW.edPort->setText(Preset.Port);
    FW.edPass->setText(Preset.Pass);
    FW.cbReadChat->setChecked(Preset.ReadChat);
    FW.edPlayers->clear();
    for (const QString& Player : Preset.Players)
        AddPlayerEntry(Player);
}

void TRconArea::SpeedButton4Click() {
    QString Name = FW.edServers->currentText();
    if (!FShell.Services().Dialogs->InputQuery(FShell.Window(), LangString("NewServer", "Strings"),
                                               LangString("NameServer", "Strings"), Name))
        return;
    // The settings file drops the blanks around a section name: the preset
    // is saved and chosen under the name it gets there, and a name of blanks
    // alone is no name.
    Name = TrimBlanks(Name);
    if (Name.isEmpty())
        return;
    SaveServerPreset(Name);
}

void TRconArea::StoreServerPreset() {
    const QString Name = FW.edServers->currentText();
    if (Name.isEmpty())
        return;
    SaveServerPreset(Name);
    edServersSelect();
}

void TRconArea::SaveServerPreset(const QString& Name) {
    TProfileFile& Servers = FShell.ServersIni();
    WriteServerPreset(Servers, Name, FieldsAsPreset());
    SetComboItems(FW.edServers, ServerPresetNames(Servers));
    SelectByText(FW.edServers, Name);
}

TServerPreset TRconArea::FieldsAsPreset() const {
    TServerPreset Preset;
    Preset.Host = FW.edHost->text();
    Preset.Port = FW.edPort->text();
    Preset.Pass = FW.edPass->text();
    Preset.ReadChat = FW.cbReadChat->isChecked();
    Preset.Players = PrivilegedPlayers();
    return Preset;
}

QStringList TRconArea::PrivilegedPlayers() const {
    QStringList Players;
    for (int I = 0; I < FW.edPlayers->topLevelItemCount(); ++I)
        Players << FW.edPlayers->topLevelItem(I)->text(0);
    return Players;
}

void TRconArea::AddPlayerEntry(const QString& Name) {
    auto* Item = new QTreeWidgetItem(FW.edPlayers, {Name});
    Item->setIcon(0, FPlayerImage);
}

void TRconArea::menuAddPlayerClick() {
    TfrmAddUser Dialog(FShell.Window());
    Dialog.SetCaptions(LangString("frmAddUser", "Captions"), LangString("laPlayerName", "Captions"),
                       LangString("gbPrivileges", "Captions"), LangString("btnAdd", "Captions"),
                       LangString("btnCancel", "Captions"));
    if (FShell.Services().Dialogs->RunModal(Dialog) != QDialog::Accepted)
        return;
    const QString Name = Dialog.PlayerName();
    if (!Name.isEmpty())
        AddPlayerEntry(Name);
}

void TRconArea::menuRemovePlayerClick() {
    const QList<QTreeWidgetItem*> Selected = FW.edPlayers->selectedItems();
    if (!Selected.isEmpty())
        delete Selected.first();
}

void TRconArea::taServerExit() {
    const QString Name = FW.edServers->currentText();
    if (!Name.isEmpty())
        WriteSelectedPreset(Name);
}

void TRconArea::WriteSelectedPreset(const QString& Name) {
    FShell.SettingsIni().WriteString(CServers, CSelected, Name);
}
