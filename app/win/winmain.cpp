#include "app/win/application.h"
#include "base/win/window.h"

// Nothing the program throws may end it through std::terminate: what is left is wound up as
// at a normal end.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return zurimo::RunApplication(instance);
    } catch (...) {
        zurimo::ReportEscapedException();
        zurimo::ExitApplication();
        return 1;
    }
}
