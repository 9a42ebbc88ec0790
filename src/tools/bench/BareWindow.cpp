// The bare Qt program the bench launches beside Lexivar: one window with a line of text shown,
// nothing else, so that start-up is compared with what any Qt program costs on the same display.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Lexivar"));
    window.setWindowTitle(QStringLiteral("Lexivar"));
    window.resize(320, 200);
    window.show();
    return QApplication::exec();
}
