#include "app/AboutDlg.h"

#include "resources/resource.h"

CAboutDlg::CAboutDlg(HINSTANCE instance) : TableDialog(instance, IDD_ABOUTBOX) {}
