#pragma once
// Where the program's own files are: the folder of the running executable (pictures, manual,
// "Somatrix.ini") and the folder the logs go to. Usable before and without a QCoreApplication,
// from any thread.
#include <string>

namespace somatrix {

// The folder of the running executable, ending with a separator ('/', or '\' on Windows).
std::string GetProgramFolder();

// "<program folder>Somatrix.ini".
std::string GetIniPath();

// "<program folder>Data" when the program folder is writable, else "Data" in the user's
// documents folder. The folder is not created here; the log creates it when it opens a file.
std::string GetLogFolder();

}  // namespace somatrix
