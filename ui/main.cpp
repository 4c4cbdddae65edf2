// The application object: one main dialog, run until it closes.

#include "app/tessarand_dlg.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessarand");
    int result = 0;
    {
        CTessarandDlg dialog(CTessarandDlg::Options{});
        dialog.show();
        result = app.exec();
    }
    return result;
}
