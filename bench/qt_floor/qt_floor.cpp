// qt_floor: the least a Qt Widgets program does before its first paint, to set beside the
// player's start-up: a window with a menu bar and one line of Japanese in an IPA font, shown
// at once. Its launch-to-first-paint is the floor any Qt window here stands on.
//
//   qt_floor TITLE
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8(argc > 1 ? argv[1] : "qt_floor"));
    window.menuBar()->addMenu(QString::fromUtf8("システム"));
    window.menuBar()->addMenu(QString::fromUtf8("バージョン情報"));
    auto* label = new QLabel(QString::fromUtf8("月影回廊物語"));
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(24);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    window.setCentralWidget(label);
    window.setFixedSize(662, 620);
    window.show();
    return QApplication::exec();
}
