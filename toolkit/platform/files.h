// Data files by handle, as the log file uses them.
#pragma once

enum { VAL_READ_WRITE = 0, VAL_READ_ONLY = 1, VAL_WRITE_ONLY = 2 };
// What opening does to an existing file.
enum { VAL_TRUNCATE = 0, VAL_APPEND = 1, VAL_OPEN_AS_IS = 2 };
enum { VAL_BINARY = 0, VAL_ASCII = 1 };

// A handle (0 or more), or -1 when the file cannot be opened.
int CVI_OpenFile(const char* path, int readWrite, int action, int fileType);
// Writes count characters; in ASCII mode each line feed is stored as CR LF.
// Returns the number of characters taken, or -1.
int CVI_WriteFile(int handle, const char* buffer, int count);
int CVI_CloseFile(int handle);

// What a path names, looked at before a file is chosen for writing: a FIFO or a device
// could block every write, a directory cannot be written at all. GetPathKind
// (file_system.h) tells which kind a path that is not regular is.
enum { FILE_ABSENT = 0, FILE_REGULAR = 1, FILE_NOT_REGULAR = 2 };
int GetFileKind(const char* path);
// How many names the open file still has: 0 once it was deleted or its folder removed,
// -1 for a handle that is not open or a system that does not tell.
int GetFileLinkCount(int handle);
// Appends `count` characters to the regular file at `path`, created when absent, whole or
// not at all: a write that fails or stores less is cut back to the file's previous end.
// A path that is not a regular file is refused unopened. Returns 0, or -1 with
// GetFileErrorText saying why.
int AppendWholeToFile(const char* path, const char* text, int count);
// Why the latest failed or short open, write or close failed, in words ("No space left on
// device"); empty before any failure.
const char* GetFileErrorText();
// Test seam: once `bytes` more characters have been stored, writes store no more and fail
// as on a full disk. A negative value lifts the limit.
void SetFileSpaceLimit(long long bytes);
