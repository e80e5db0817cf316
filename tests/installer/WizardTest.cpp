// The real wizard window under the offscreen platform, over payloads made on
// the spot: its page moves, the install, closing, and broken payloads.

#include "SetupTestUtil.h"

#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/Services.h"
#include "installer/WinDirs.h"
#include "installer/qvs_Main.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

using namespace SetupTest;

namespace {

// Logs the programs the wizard starts, beside its other events.
class TLoggingStarter : public IProgramStarter {
public:
    explicit TLoggingStarter(QStringList& Log) : FLog(Log) {}
    bool ShellOpen(const QString& File, const QString& Params, const QString& WorkDir,
                   QString*) override {
        FLog << QStringLiteral("open %1 [%2] in %3").arg(File, Params, WorkDir);
        return true;
    }

private:
    QStringList& FLog;
};

const QString CEntry = QStringLiteral("/data/applications/Quorvane v1.2.desktop");
const QString CDesktopEntry = QStringLiteral("/home/Desktop/Quorvane v1.2.desktop");

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Tmp.isValid());
        QCoreApplication::setApplicationName(QStringLiteral("Quorvane Installer"));
        QDir().mkpath(TestRoot() + QStringLiteral("/home/Desktop"));
        Install = Tmp.path() + QStringLiteral("/Install Here");
        Dialogs.Clear();
        Log.clear();
        Services.Dialogs = &Dialogs;
        Services.Starter = &Starter;
        Services.Folders = &Folders;
        Services.ProgramFile = MakeProgram(Tmp.path());
        Services.ReleaseInstance = [this] { Log << QStringLiteral("release"); };
        Services.Pause = [this](int Ms) { Log << QStringLiteral("pause %1").arg(Ms); };
    }
    void TearDown() override {
        Window.reset();
        EXPECT_TRUE(Dialogs.AllAnswersUsed()) << "an answer was queued for a box that never opened";
        for (const char* Dir : {"/home/Desktop", "/data/applications"})
            QDir(TestRoot() + QLatin1String(Dir)).removeRecursively();
        QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    }
    void Open() {
        Window = std::make_unique<TfrmMain>(Services);
        Window->show();
        // The status line as each move of the bar shows it.
        QProgressBar* Bar = Find<QProgressBar>("barProgress");
        QObject::connect(Bar, &QProgressBar::valueChanged, Bar, [this](int Value) {
            Log << QStringLiteral("%1 %2").arg(Value).arg(Find<QLabel>("laPath")->text());
        });
    }

    template <class T> T* Find(const char* Name) const {
        T* W = Window->findChild<T*>(QLatin1String(Name));
        EXPECT_NE(W, nullptr) << Name;
        return W;
    }
    // The window's child in front at a point, as the user sees it.
    QString InFront(QPoint At) const {
        QWidget* W = Window->childAt(At);
        while (W && W->parentWidget() != Window.get())
            W = W->parentWidget();
        return W ? W->objectName() : QString();
    }
    QString FrontPage() const { return InFront({364, 188}); }
    QString FrontButton() const { return InFront({492, 324}); } // Continue's and Install's place
    bool Usable(const char* Name) const {
        const QPushButton* B = Find<QPushButton>(Name);
        return B->isVisible() && B->isEnabled();
    }
    void Click(const char* Name) {
        QPushButton* B = Find<QPushButton>(Name);
        ASSERT_TRUE(B->isVisible()) << Name;
        B->click();
    }
    void InstallInto(const QString& WinDir, bool Shortcuts = true, bool Desktop = true) {
        Find<QLineEdit>("edInstallDir")->setText(WinDir);
        Click("btnContinue");
        Click("btnContinue");
        Find<QCheckBox>("cbCreateShortcuts")->setChecked(Shortcuts);
        Find<QCheckBox>("cbAddDesktopShortcut")->setChecked(Desktop);
        Click("btnInstall");
    }
    bool Exists(const QString& BelowRoot) const {
        return QFileInfo::exists(TestRoot() + BelowRoot);
    }

    QTemporaryDir Tmp;
    QString Install;
    TScriptedDialogs Dialogs;
    QStringList Log;
    TLoggingStarter Starter{Log};
    TWindowsInfo Folders;
    TInstallerServices Services;
    std::unique_ptr<TfrmMain> Window;
};

TEST_F(WizardTest, PageMovesFollowTheButtons) {
    Open();
    EXPECT_EQ(Window->windowTitle(), "Quorvane Installer");
    EXPECT_EQ(Find<QLineEdit>("edInstallDir")->text(),
              AddTrailingBackslash(GetProgramFilesDir()) + "Quorvane");
    EXPECT_FALSE(Find<QLabel>("Image1")->pixmap().isNull());
    EXPECT_FALSE(Find<QLabel>("Image2")->pixmap().isNull());
    const struct {
        const char* Action; // a button, "Enter", or none
        int State;
        const char* Page;
        const char* Front;
        bool ContinueUsable, InstallUsable;
    } Steps[] = {
        {"", 0, "paMain", "btnContinue", true, false},
        {"btnBack", 0, "paMain", "btnContinue", true, false}, // nothing on the welcome page
        {"btnContinue", 1, "paInstallDir", "btnContinue", true, false},
        {"btnBack", 0, "paMain", "btnContinue", true, false},
        {"Enter", 1, "paInstallDir", "btnContinue", true, false},
        {"btnContinue", 2, "paOptions", "btnInstall", false, true},
        {"btnBack", 1, "paInstallDir", "btnContinue", true, false},
        {"btnContinue", 2, "paOptions", "btnInstall", false, true},
    };
    for (const auto& Step : Steps) {
        const QLatin1String Action(Step.Action);
        if (Action == QLatin1String("Enter")) {
            QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(Window.get(), &Enter);
        } else if (!Action.isEmpty()) {
            Click(Step.Action);
        }
        EXPECT_EQ(Window->State(), Step.State) << Step.Action;
        EXPECT_EQ(FrontPage(), Step.Page) << Step.Action;
        EXPECT_EQ(FrontButton(), Step.Front) << Step.Action;
        EXPECT_EQ(Usable("btnContinue"), Step.ContinueUsable) << Step.Action;
        EXPECT_EQ(Usable("btnInstall"), Step.InstallUsable) << Step.Action;
    }
}

TEST_F(WizardTest, InstallsReportsAndShowsTheCompletionPage) {
    const struct {
        bool Shortcuts, Desktop;
        QStringList Log;
    } Cases[] = {
        {false, false, {"10 Install complete", "pause 2000"}},
        {true,
         true,
         {"1 Creating Shortcuts...", "2 Creating Shortcuts...", "10 Install complete",
          "pause 2000"}},
    };
    for (const auto& Case : Cases) {
        TearDown();
        SetUp();
        Open();
        InstallInto(QvrFs::WinPathOfHost(Install), Case.Shortcuts, Case.Desktop);

        EXPECT_EQ(Dialogs.Shown().size(), 0);
        EXPECT_EQ(Log, Case.Log);
        EXPECT_EQ(Window->State(), TfrmMain::psComplete);
        EXPECT_EQ(FrontPage(), "paInstallComplete");
        EXPECT_EQ(FrontButton(), "btnContinue");
        EXPECT_TRUE(Usable("btnContinue"));
        EXPECT_EQ(Find<QPushButton>("btnContinue")->text(), "Finish");
        EXPECT_FALSE(Find<QPushButton>("btnCancel")->isVisible());
        EXPECT_FALSE(Find<QPushButton>("btnBack")->isVisible());
        EXPECT_EQ(Window->InstallDir(), QvrFs::WinPathOfHost(Install) + u'\\');
        for (const TPayloadItem& Entry : PayloadItems()) {
            const QString Path = Install +
                                 (Entry.Folder == TItemFolder::Languages ? "/Languages/" : "/") +
                                 Entry.Name;
            EXPECT_EQ(ReadHostFile(Path), ItemBytes(Entry.Name)) << Path.toStdString();
            EXPECT_EQ(QFileInfo(Path).isExecutable(), Entry.Executable) << Path.toStdString();
        }
        EXPECT_EQ(Exists(CEntry), Case.Shortcuts);
        EXPECT_EQ(Exists(CDesktopEntry), Case.Desktop);
    }
}

TEST_F(WizardTest, ClosingTheCompletionPageStartsTheLauncherWhenAsked) {
    const struct {
        bool Finish; // else the close box
        bool Launch;
        bool Started;
    } Cases[] = {{false, true, true}, {false, false, false}, {true, true, true}};
    for (const auto& Case : Cases) {
        TearDown();
        SetUp();
        Open();
        Find<QCheckBox>("cbLaunchQVR")->setChecked(Case.Launch);
        InstallInto(QvrFs::WinPathOfHost(Install), false, false);
        Log.clear();
        if (Case.Finish)
            Click("btnContinue");
        else
            Window->close();
        EXPECT_FALSE(Window->isVisible());
        EXPECT_EQ(Dialogs.Shown().size(), 0); // no question, no beep
        // The lock goes first, so the launcher is not turned away.
        const QStringList Started = {"release", "open qvr [] in " + Window->InstallDir()};
        EXPECT_EQ(Log, Case.Started ? Started : QStringList());
    }
}

TEST_F(WizardTest, ClosingEarlierAsksAfterTheBeepAndNoKeepsTheWindow) {
    Open();
    Dialogs.QueueYesNo(false);
    Click("btnCancel");
    EXPECT_TRUE(Window->isVisible());
    Dialogs.QueueYesNo(true);
    Window->close();
    EXPECT_FALSE(Window->isVisible());
    ASSERT_EQ(Dialogs.Shown().size(), 4);
    EXPECT_EQ(Dialogs.Shown()[0].What, TShownDialog::Beep);
    EXPECT_EQ(Dialogs.Shown()[1].What, TShownDialog::Question);
    EXPECT_EQ(Dialogs.Shown()[1].Text, "This will abort the Quorvane installation, are you sure?");
    EXPECT_EQ(Log, QStringList()); // the launcher is not started
}

TEST_F(WizardTest, AMissingOrDamagedItemStopsTheInstallBeforeAnythingIsWritten) {
    const struct {
        QString Skip, Damage, Folder, Message;
    } Cases[] = {
        {{},
         "qvr",
         "Install Here",
         "The installer is damaged: the stored file \"qvr\" cannot be read (incorrect data "
         "check)."},
        // An empty folder field is the root; nothing is written there either.
        {"libbass.so",
         {},
         {},
         "The installer is damaged: the stored file \"libbass.so\" is "
         "missing."},
    };
    for (const auto& Case : Cases) {
        TearDown();
        SetUp();
        Services.ProgramFile = MakeProgram(Tmp.path(), Case.Skip, Case.Damage);
        Open();
        const QString Folder =
            Case.Folder.isEmpty() ? QString() : QvrFs::WinPathOfHost(Tmp.filePath(Case.Folder));
        InstallInto(Folder);

        ASSERT_EQ(Dialogs.Shown().size(), 1);
        EXPECT_EQ(Dialogs.Shown()[0].Kind, TMsgKind::Error);
        EXPECT_EQ(Dialogs.Shown()[0].Title, "Quorvane Installer");
        EXPECT_EQ(Dialogs.Shown()[0].Text, Case.Message);
        EXPECT_EQ(Window->InstallDir(), AddTrailingBackslash(Folder));
        // Stuck on the installing page, nothing reported as done.
        EXPECT_EQ(Window->State(), TfrmMain::psInstalling);
        EXPECT_EQ(FrontPage(), "paExtractFiles");
        EXPECT_FALSE(Usable("btnBack") || Usable("btnInstall") || Usable("btnContinue"));
        EXPECT_TRUE(Usable("btnCancel"));
        EXPECT_EQ(Log, QStringList());
        EXPECT_FALSE(QFileInfo::exists(Install) || Exists(CEntry) || Exists(CDesktopEntry));

        // Closing asks, and the launcher is not started.
        Dialogs.QueueYesNo(true);
        Click("btnCancel");
        EXPECT_FALSE(Window->isVisible());
        EXPECT_EQ(Log, QStringList());
    }
}

TEST_F(WizardTest, APayloadThatCannotBeReadEndsTheProgram) {
    WriteHostFile(Services.ProgramFile, "\x7F"
                                        "ELF no payload at all");
    Open();
    EXPECT_TRUE(Window->Terminated());
    EXPECT_EQ(Dialogs.Messages(), QStringList{"The installer is damaged: its stored files cannot "
                                              "be read (Stream read error)."});
}

TEST_F(WizardTest, AnAbortConfirmedDuringTheInstallSkipsWhatIsLeft) {
    for (const bool Abort : {true, false}) {
        TearDown();
        SetUp();
        Open();
        // A close request waits in the queue; the procedure handles it when
        // it first lets the window handle input, after writing the files.
        QMetaObject::invokeMethod(Window.get(), &QWidget::close, Qt::QueuedConnection);
        Dialogs.QueueYesNo(Abort);
        InstallInto(QvrFs::WinPathOfHost(Install));

        EXPECT_EQ(Window->State(), Abort ? TfrmMain::psInstalling : TfrmMain::psComplete);
        EXPECT_EQ(Window->isVisible(), !Abort);
        EXPECT_TRUE(QFileInfo::exists(Install + "/qvr"));
        EXPECT_EQ(Exists(CEntry), !Abort);
        EXPECT_EQ(Exists(CDesktopEntry), !Abort);
        EXPECT_FALSE(Log.contains("release")); // the launcher is not started
    }
}

} // namespace
