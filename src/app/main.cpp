#include "app/application.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
    dravik::Application app(argc, argv);
    dravik::TDravik_Main window;
    window.FormCreate();
    window.show();
    return app.exec();
}
