// A bare Qt program: one window with one label, shown as the program shows its first window.
// startup_bench starts it to compare the program's start-up with what Qt alone needs.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Tavlin"), &window));
    window.show();
    QElapsedTimer limit;
    limit.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && limit.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
    QTextStream(stdout) << "shown " << sinceMain.nsecsElapsed() / 1e6 << Qt::endl;
    return 0;
}
