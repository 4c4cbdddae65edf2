#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Tessarand V1.27 preRelease");
    window.show();
    return app.exec();
}
