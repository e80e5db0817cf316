// The baseline: a bare Qt Widgets window of the launcher's size, shown, and
// the program ends once it is on screen. With the argument "text" it shows
// one line of text too: the least any window with words pays (the font
// database and text shaping).
#include "StartupClock.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <QWindow>

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    QWidget Window;
    Window.setFixedSize(644, 544);
    if (argc > 1 && qstrcmp(argv[1], "text") == 0)
        new QLabel(QStringLiteral("Quorvane"), &Window);
    Window.show();
    while (!Window.windowHandle() || !Window.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ShownNow();
}
