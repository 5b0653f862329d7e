#include "app/CQVSettingApp.h"

int main(int argc, char** argv) {
    CQVSettingApp app(argc, argv);
    return app.run();
}
