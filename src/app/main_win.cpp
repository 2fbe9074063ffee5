// TesmaraDownloader.exe: a GUI program without a console.
#include <windows.h>

#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return tsm::StartProgram(); }
