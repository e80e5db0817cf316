// The wizard in the font it is laid out for (Tahoma 8 pt), and in the
// stand-in used where Tahoma is missing: on each of its five pages no text is
// cut, wrapped texts keep within their labels, and no label runs into a
// neighbour.
// Each page is also a screenshot when screenshots are asked for.
#include "SetupTestUtil.h"

#include "common/Services.h"
#include "common/ui/FormFonts.h"
#include "installer/WinDirs.h"
#include "installer/qvs_Main.h"
#include "support/LayoutCheck.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>

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
        UseFormFonts();
        if (GetParam())
            QApplication::setFont(FittedSansFont());
        Services.Dialogs = &Dialogs;
        Services.Starter = &Starter;
        Services.Folders = &Folders;
        Services.ProgramFile = MakeProgram(Tmp.path());
        Services.ReleaseInstance = [] {};
        Services.Pause = [](int) {};
    }
    void TearDown() override { QApplication::setFont(FormFont()); }

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
        const QString Name =
            (GetParam() ? QStringLiteral("Installer-standin-") : QStringLiteral("Installer-")) +
            QLatin1String(Page);
        EXPECT_TRUE(LayoutCheck::Screenshot(&Window, Name)) << Name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, WizardLayoutTest, ::testing::Bool(),
                         [](const auto& Info) { return Info.param ? "StandIn" : "Tahoma"; });

} // namespace
