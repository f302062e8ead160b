// Resource ids of the launcher: templates, controls, icon and strings.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_TAVRIN_DIALOG 102
#define IDR_MAINFRAME 128

#define IDS_ABOUTBOX 101
#define IDS_SOCKETS_INIT_FAILED 103

#define IDM_ABOUTBOX 0x0010

#define IDC_DEVICE_LIST 1000
#define IDC_ADD_BUTTON 1002
#define IDC_DELETE_BUTTON 1003
#define IDC_EDIT_BUTTON 1004
#define IDC_EXPORT_BUTTON 1033
#define IDC_IMPORT_BUTTON 1034
