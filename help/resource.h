#pragma once
// Resource numbers of the help program's own resources (C++ and .rc).
#define IDI_TAVRIX_HELP 1       /* the program's icon and its window's: nine images */
#define IDB_HELP_PICTURE 401    /* 470 x 267, the window's picture */
#define IDB_COMMAND1_ICON 402   /* 360 x 20, the icon picture of "升级建议" */
