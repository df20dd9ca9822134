#pragma once

// Resource numbers of the module; the code and TextaroBar.rc share them.
#define IDR_TEXTAROBARBAND 102
#define IDC_TEXTVIEW_EDIT 202
#define IDC_SETTINGS_USERNAME 203
#define IDC_SETTINGS_PASSWORD 207
#define IDC_SETTINGS_EMAIL 208
#define IDC_PASSWORD_NEW 210
#define IDC_PASSWORD_CONFIRM 211
#define IDB_SEND 215
#define IDD_TEXTVIEW 218
#define IDB_TEXTVIEW 221
#define IDD_SETTINGS 222
#define IDD_PASSWORD 224
#define IDC_SEND_DATE 228
#define IDC_SEND_TIME 229
#define IDB_DELAYEDSEND 231
#define IDD_DELAYEDSEND 232
#define IDB_ADDRESSBOOK 233
#define IDC_SETTINGS_NICK 235
#define IDC_SETTINGS_RECEIPT 236
#define IDC_SETTINGS_REPLY 239
#define IDB_MAINMENU 237
#define IDC_PROGRESS_TEXT 240
#define IDD_PROGRESS 241
#define IDC_PROGRESS_ANIMATION 242
#define IDC_SETTINGS_ANIMATION 242
#define IDR_PROGRESS_AVI 258
#define IDM_PICKRECIPIENTS 32799
#define IDM_EDITCONTACTS 32800

// The address book: the contacts dialog with its menu, the contact editor and the recipient
// picker. A menu and a dialog may share a number; they are resources of different types.
#define IDR_CONTACTS_MENU 218
#define IDD_RECIPIENTS 225
#define IDD_CONTACTS 227
#define IDD_CONTACT_EDITOR 230
#define IDB_CONTACTS 243
#define IDB_CONTACT 244
#define IDC_CONTACTS_LIST 214
#define IDC_CONTACTS_STATUS 234
#define IDC_EDITOR_NAME 224
#define IDC_EDITOR_SURNAME 225
#define IDC_EDITOR_PHONE 226
#define IDC_EDITOR_EMAIL 227
#define IDC_PICKER_CONTACTS 214
#define IDC_PICKER_ADD 217
#define IDC_PICKER_REMOVE 218
#define IDC_PICKER_CHOSEN 219
#define ID_CONTACT_NEW 32787
#define ID_CONTACT_EDIT 32788
#define ID_CONTACT_DELETE 32789
#define ID_CONTACT_DOWNLOAD 32795

// Labels of the dialog templates have no identifier of their own.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
