// same_job_main: the least program that does the main window's job (bench/same_job.h).
#include "bench/same_job.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    same_job::OpenMainWindow();
    return same_job::Run();
}
