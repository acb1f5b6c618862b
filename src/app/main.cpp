#include "app/application.h"
#include "app/main_window.h"
#include "app/single_instance.h"

int main(int argc, char** argv) {
    dravik::Application app(argc, argv);
    dravik::SingleInstance instance;
    if (const std::optional<int> exitCode = dravik::endOfLaterStart(instance.start()))
        return *exitCode;
    dravik::TDravik_Main window;
    instance.setWindow(&window);
    window.FormCreate();
    window.show();
    return app.exec();
}
