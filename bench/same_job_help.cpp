// same_job_help: the least program that shows the help window's first paint and does its job
// (bench/same_job.h).
#include "bench/same_job.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    same_job::OpenHelpWindow();
    return same_job::Run();
}
