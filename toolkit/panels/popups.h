// Modal pop-ups: a message box, a Yes/No question and the file chooser. Part of the public
// interface (userint.h); tests answer them through the seam in popup_answerer.h.
#pragma once

int MessagePopup(const char* title, const char* message);
// A question with Yes and No (No is the default button): 1 for Yes, 0 for No or a closed
// box, negative before InitToolkit.
int ConfirmPopup(const char* title, const char* message);
// Writes the chosen path (at most 511 characters and a NUL) into pathName.
int FileSelectPopup(const char* defaultDirectory, const char* defaultFileSpec,
                    const char* fileTypeList, const char* title, int buttonLabel,
                    int restrictDirectory, int restrictExtension, int allowCancel,
                    int allowMakeDirectory, char pathName[]);
