#include "app/application.h"
#include "app/main_window.h"
#include "app/single_instance.h"

int main(int argc, char** argv) {
    dravik::Application app(argc, argv);
    dravik::SingleInstance instance;
    if (const std::optional<int> exitCode = dravik::endOfLaterStart(instance.start()))
        return *exitCode;
    dravik::MainWindow window;
    instance.setWindow(&window);
    // The splash is on the screen at once; the start-up sequence, the download included, runs under it.
    window.show();
    return app.exec();
}
