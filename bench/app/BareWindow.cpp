// The floor of a start on this machine: a Qt program that shows one empty window of the main
// window's size and nothing else. The start-up benchmark starts it as it starts the program, so
// the two figures are measured the same way.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(780, 580);
    window.show();
    return QApplication::exec();
}
