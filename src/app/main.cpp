#include "app/CAppWinApp.h"

int main(int argc, char** argv)
{
    CAppWinApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.Run();
}
