#include "app/Messages.h"

int ShowMessage(HWND owner, const UiText& text, int languageId, UINT flags) {
    return MessageBoxW(owner, InLanguage(text, languageId),
                       InLanguage(texts::kMessageCaption, languageId), flags);
}
