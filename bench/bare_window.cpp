// The yardstick for the footprint: a bare 608 × 672 Qt Widgets window with a menu bar.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.menuBar()->addMenu(QStringLiteral("Menu"));
    auto* centre = new QWidget;
    centre->setFixedSize(608, 672);
    window.setCentralWidget(centre);
    window.show();
    return application.exec();
}
