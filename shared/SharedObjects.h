#pragma once
#include <memory>

class ClsLogging;
class ClsIni;
class ClsDate;
class ClsDAO;
class ClsForms;
class IHostWindow;

// The program's one instance of each shared service. The main program creates them in
// order at start-up (Create) and releases them in reverse at shut-down (Release), the log
// last; the side programs and tests get each one created on first use.
class SharedObjects {
public:
    static ClsLogging& Log();
    static ClsIni& Ini();
    static ClsDate& Date();
    static ClsDAO& DAO();
    static ClsForms& Forms();

    // The program's main window, or none (unit tests, before the window exists).
    static IHostWindow* Host();
    static void SetHost(IHostWindow* host);

    // True while the object exists (before its first use or after Release it does not).
    static bool HasLog();

    // Releases every shared object, the log last.
    static void Release();
};
