#include "app/application.h"
#include "app/main_window.h"
#include "app/single_instance.h"

int main(int argc, char** argv) {
    dravik::Application app(argc, argv);
    dravik::SingleInstance instance;
    switch (instance.start()) {
    case dravik::SingleInstance::Start::Forwarded:
        return 0;
    case dravik::SingleInstance::Start::Unanswered:
        return 1;
    case dravik::SingleInstance::Start::Primary:
        break;
    }
    dravik::TDravik_Main window;
    instance.setWindow(&window);
    window.FormCreate();
    window.show();
    return app.exec();
}
