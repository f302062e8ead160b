// Message boxes in the user's language, captioned "Message" or its Chinese counterpart.
#pragma once

#include <windows.h>

#include "app/Texts.h"

// Shows text with an OK button (plus any icon flags) and returns the button pressed.
int ShowMessage(HWND owner, const UiText& text, int languageId, UINT flags = MB_OK);
int ShowMessage(HWND owner, const wchar_t* text, int languageId, UINT flags = MB_OK);
