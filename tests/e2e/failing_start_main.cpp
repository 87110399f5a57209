// The program with one control made to fail at creation, as if the platform refused it.
#include <windows.h>

#include "app/program.h"
#include "ui/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  quorvin::MainWindow::FailCreationOf(L"编辑框1");
  return quorvin::RunProgram(instance);
}
