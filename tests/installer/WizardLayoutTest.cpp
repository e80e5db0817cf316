// The wizard in the font it is laid out for (Tahoma 8 pt), and in the
// stand-in used where Tahoma is missing: on each of its five pages no text is
// cut, wrapped texts keep within their labels, and no label runs into a
// neighbour.
//
// With QVR_SCREENSHOTS naming a folder, each page is also saved there as the
// screen shows it (scripts/screenshots.sh runs this under Xvfb).
#include "SetupTestUtil.h"

#include "common/Services.h"
#include "common/ui/DesignFonts.h"
#include "installer/WinDirs.h"
#include "installer/qvs_Main.h"
#include "support/LayoutCheck.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

using namespace SetupTest;

namespace {

class TNoStarter : public IProgramStarter {
public:
    bool ShellOpen(const QString&, const QString&, const QString&, QString*) override {
        return true;
    }
};

class WizardLayoutTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        UseDesignFonts();
        if (GetParam())
            QApplication::setFont(FittedSansFont());
        Services.Dialogs = &Dialogs;
        Services.Starter = &Starter;
        Services.Folders = &Folders;
        Services.ProgramFile = MakeProgram(Tmp.path());
        Services.ReleaseInstance = [] {};
        Services.Pause = [](int) {};
    }
    void TearDown() override { QApplication::setFont(DesignFont()); }

    void Shoot(TfrmMain& Window, const QString& Page) {
        const QString Folder = qEnvironmentVariable("QVR_SCREENSHOTS");
        if (Folder.isEmpty())
            return;
        QWindow* Handle = Window.windowHandle();
        ASSERT_TRUE(WaitUntil([&] {
            QCoreApplication::processEvents();
            return Handle && Handle->isExposed();
        }));
        Window.repaint();
        QCoreApplication::processEvents();
        const QString Name =
            QStringLiteral("%1/Installer%2-%3.png")
                .arg(Folder, GetParam() ? QStringLiteral("-standin") : QString(), Page);
        EXPECT_TRUE(Handle->screen()->grabWindow(Window.winId()).save(Name)) << Name.toStdString();
    }

    QTemporaryDir Tmp;
    TScriptedDialogs Dialogs;
    TNoStarter Starter;
    TWindowsInfo Folders;
    TInstallerServices Services;
};

TEST_P(WizardLayoutTest, EveryTextFitsOnEveryPage) {
    TfrmMain Window(Services);
    Window.show();
    // The pages lie one above another, all shown: one walk checks them all.
    QCoreApplication::processEvents();
    const QStringList Faults = LayoutCheck::Faults(&Window);
    EXPECT_TRUE(Faults.isEmpty()) << Faults.join("\n").toStdString();
    for (const char* Page :
         {"paMain", "paInstallDir", "paOptions", "paExtractFiles", "paInstallComplete"}) {
        Window.findChild<QWidget*>(QLatin1String(Page))->raise();
        Shoot(Window, QLatin1String(Page));
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, WizardLayoutTest, ::testing::Bool(),
                         [](const auto& Info) { return Info.param ? "StandIn" : "Tahoma"; });

} // namespace
