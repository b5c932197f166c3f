// The program entry.
#include "Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TApplication application;
    application.Initialize();
    application.SetTitle("Tamrik");
    application.CreateForm(frmTamrik);
    application.Run();
    return 0;
}
