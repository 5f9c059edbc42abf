#pragma once
// Resource numbers of the push button's two skins; read by C++ and by the programs' .rc files.
#define IDB_BUTTON_SKIN 2001 /* 315 x 23: five frames of 63 x 23 */
#define IDB_CLOSE_SKIN 2002  /* 95 x 19: five frames of 19 x 19, a white cross on red */
