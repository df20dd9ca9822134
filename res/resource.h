#pragma once

// Resource numbers of the module; the code and TextaroBar.rc share them.
#define IDR_TEXTAROBARBAND 102
#define IDC_TEXTVIEW_EDIT 202
#define IDB_SEND 215
#define IDD_TEXTVIEW 218
#define IDB_TEXTVIEW 221
#define IDC_SEND_DATE 228
#define IDC_SEND_TIME 229
#define IDB_DELAYEDSEND 231
#define IDD_DELAYEDSEND 232
#define IDB_ADDRESSBOOK 233
#define IDB_MAINMENU 237
#define IDD_PROGRESS 241
#define IDC_PROGRESS_ANIMATION 242
#define IDR_PROGRESS_AVI 258
#define IDM_PICKRECIPIENTS 32799
#define IDM_EDITCONTACTS 32800

// Labels of the dialog templates have no identifier of their own.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
