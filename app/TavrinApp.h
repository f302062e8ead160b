// The application object: prepares the platform, runs the main window modally, and ends.
#pragma once

#include <windows.h>

class CTavrinApp {
public:
    explicit CTavrinApp(HINSTANCE instance) : m_instance(instance) {}

    // Always false: the process ends when the main window has ended.
    bool InitInstance();

private:
    HINSTANCE m_instance;
};
