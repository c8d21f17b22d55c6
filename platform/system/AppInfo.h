#pragma once
#include <QString>

// Stand-in for the forms runtime's application object: the folder and the file name
// of the running executable. Tests point the program folder at a temporary folder.
namespace plat {

// Folder of the running executable, without a trailing "/".
QString AppPath();
// File name of the running executable without folder and extension ("RostimaShr").
QString AppExeName();

// Only tests call these: they make the process behave as if it ran from another folder
// or under another executable name. An empty text restores the real value.
void SetAppPathForTest(const QString& folder);
void SetAppExeNameForTest(const QString& name);

// The profile functions' "Windows directory": one installation is one workstation, so it
// is the program folder.
QString WindowsDirectory();

}  // namespace plat
