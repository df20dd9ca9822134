#pragma once

// Resource numbers of the module; the code and TextaroBar.rc share them.
#define IDR_TEXTAROBARBAND 102
#define IDB_SEND 215
#define IDD_TEXTVIEW 218
#define IDB_TEXTVIEW 221
#define IDB_DELAYEDSEND 231
#define IDD_DELAYEDSEND 232
#define IDB_ADDRESSBOOK 233
#define IDB_MAINMENU 237
#define IDD_PROGRESS 241
#define IDR_PROGRESS_AVI 258
