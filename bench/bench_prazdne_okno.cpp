// The floor of the start-up measurement: a Qt Widgets program that shows one empty window and
// ends the same way the program does under PARMEX_KONEC_PO_STARTU=1, once the event loop is
// idle after the window's first activation.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

int main(int argc, char* argv[]) {
    QApplication aplikace(argc, argv);
    QObject::connect(&aplikace, &QGuiApplication::focusWindowChanged, &aplikace, [](QWindow* okno) {
        if (okno) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QWidget okno;
    okno.resize(731, 600);
    okno.show();
    okno.activateWindow();
    return aplikace.exec();
}
