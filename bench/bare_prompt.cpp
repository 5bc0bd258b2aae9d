// The yardstick for the game's first window: a bare Qt input box with the same prompt.
#include <QApplication>
#include <QInputDialog>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QInputDialog::getText(nullptr, QStringLiteral("Zenobra"), QStringLiteral("Come ti chiami?"));
    return 0;
}
