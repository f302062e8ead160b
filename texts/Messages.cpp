#include "texts/Messages.h"

int ShowMessage(HWND owner, const UiText& text, Language languageId, UINT flags) {
    return ShowMessage(owner, InLanguage(text, languageId), languageId, flags);
}

int ShowMessage(HWND owner, const wchar_t* text, Language languageId, UINT flags) {
    return MessageBoxW(owner, text, InLanguage(texts::kMessageCaption, languageId), flags);
}
