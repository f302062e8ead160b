#include "app/StartupRules.h"

Language LanguageForSystemLanguage(std::uint16_t systemLanguage) {
    switch (systemLanguage) {
        case 0x0404:  // Chinese (Taiwan)
        case 0x0804:  // Chinese (PRC)
        case 0x0C04:  // Chinese (Hong Kong)
        case 0x1004:  // Chinese (Singapore)
            return Language::kChinese;
        default:
            return Language::kEnglish;
    }
}

int GetAvailableMemoryPercent(std::uint64_t availableBytes, std::uint64_t totalBytes) {
    if (totalBytes == 0) {
        return 100;
    }
    return static_cast<int>(static_cast<double>(availableBytes) * 100.0 /
                            static_cast<double>(totalBytes));
}

std::string ProgramFolderOf(std::string_view executablePath) {
    const std::size_t slash = executablePath.rfind('\\');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(executablePath.substr(0, slash + 1));
}
