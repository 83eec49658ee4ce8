// Modal pop-ups: a message box, a Yes/No question and the file chooser. Part of the public
// interface (userint.h); tests answer them through the seam in popup_answerer.h.
//
// A message is shown whole: the forms that take its length show a NUL and what follows
// it, and every control character but line feeds and tabs is shown escaped (VisibleText),
// so text from a file or the line can neither cut a message short nor hide in it.
#pragma once

#include <string_view>

int MessagePopup(const char* title, const char* message);
int MessagePopup(const char* title, std::string_view message);
// A question with Yes and No (No is the default button): 1 for Yes, 0 for No or a closed
// box, negative before InitToolkit.
int ConfirmPopup(const char* title, const char* message);
int ConfirmPopup(const char* title, std::string_view message);
// Writes the chosen path (at most 511 characters and a NUL) into pathName.
int FileSelectPopup(const char* defaultDirectory, const char* defaultFileSpec,
                    const char* fileTypeList, const char* title, int buttonLabel,
                    int restrictDirectory, int restrictExtension, int allowCancel,
                    int allowMakeDirectory, char pathName[]);
