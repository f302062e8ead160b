#include "app/AboutDlg.h"

#include "resources/resource.h"
#include "texts/Texts.h"

CAboutDlg::CAboutDlg(HINSTANCE instance, Language languageId)
    : TableDialog(instance, IDD_ABOUTBOX), m_languageId(languageId) {}

BOOL CAboutDlg::OnInitDialog() {
    SetDlgItemTextW(Handle(), IDC_ABOUT_PROGRAM_LINE,
                    InLanguage(texts::kAboutProgramLine, m_languageId));
    return TRUE;
}
