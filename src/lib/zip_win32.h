// ZIP extraction: unpacks an archive, also a self-extracting .EXE one, into a directory
// with UnZip32.DLL, which is loaded at run time, keeping the archive's folders and overwriting existing
// files. Problems are reported to the user in message boxes; the caller gets only an error flag.
#pragma once

#include <string_view>

// Where UnZip32.DLL lies. Any call forgets a library already loaded, so the next extraction loads the
// DLL afresh; an empty text goes back to the default places (the program's folder, then KindPath 8).
void SetUnzipDir(std::string_view dir);

// Extracts every member of the archive into targetDir (created when missing). progressKind 0 shows
// nothing; 1 shows the work-info window without animation, 2 with the copy animation, and the window
// names each member as it is written. error is true when nothing or not everything was extracted: the
// archive is missing ("File not exist"), the DLL cannot be loaded ("DLL not found") or the DLL reports
// an error ("Unzip error"). The DLL's warning (data in front of the archive) shows "Unzip warning"
// except for an archive named .EXE, where the program stub is expected; error stays false then.
void ExtractZip(std::string_view archive, std::string_view targetDir, int progressKind, bool& error);
