#pragma once
// Version numbers of both programs; the .rc files and the code read them from here.
#define TAVRIX_VERSION_NUMBERS 2, 14, 0, 4
#define TAVRIX_VERSION_TEXT "2.14.0004"
#define TAVRIX_HELP_VERSION_NUMBERS 1, 0, 0, 0
#define TAVRIX_HELP_VERSION_TEXT "1.00"
