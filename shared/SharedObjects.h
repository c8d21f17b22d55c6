#pragma once
#include <memory>

class ClsLogging;
class ClsIni;
class ClsDate;
class ClsDAO;
class ClsForms;
class ClsGroup;
class ClsResource;
class ClsTask;
class ClsCustomer;
class ClsBooking;
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
    static ClsGroup& Group();
    static ClsResource& Resource();
    static ClsTask& Task();
    static ClsCustomer& Customer();
    static ClsBooking& Booking();

    // The program's main window, or none (unit tests, before the window exists).
    static IHostWindow* Host();
    static void SetHost(IHostWindow* host);

    // True while the object exists (before its first use or after Release it does not).
    static bool HasLog();

    // Releases every shared object, the log last.
    static void Release();
    // Releases every shared object but the log (which shut-down still writes to).
    static void ReleaseExceptLog();

    // The record objects live apart (SharedRecords.cpp), so a program that uses only
    // the services does not link them; they hand in how they are released.
    static void SetRecordsRelease(void (*release)());
};
