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
