#pragma once
// Resource numbers of the main window's pictures and the program's icon (C++ and .rc).
#define IDI_TAVRIX 1
#define IDB_BACKGROUND 101  /* 605 x 424 */
#define IDB_TITLE_STRIP 102 /* 608 x 30 */
