// The baseline: a bare Qt Widgets window of the launcher's size, shown, and
// the program ends once it is on screen.
#include "StartupClock.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    QWidget Window;
    Window.setFixedSize(644, 544);
    Window.show();
    while (!Window.windowHandle() || !Window.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ShownNow();
}
