// Message boxes in the user's language, captioned "Message" or its Chinese counterpart.
#pragma once

#include <windows.h>

#include "texts/Texts.h"

// Shows text with an OK button (plus any icon flags) and returns the button pressed.
int ShowMessage(HWND owner, const UiText& text, Language languageId, UINT flags = MB_OK);
int ShowMessage(HWND owner, const wchar_t* text, Language languageId, UINT flags = MB_OK);
