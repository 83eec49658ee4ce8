// The third-party notices and licence texts that ship with the tool, found where this
// copy of it keeps them, and a window that shows them one at a time.
//
// Looked for, first found: beside the program (THIRD-PARTY-NOTICES.txt and the folder
// "licenses", as the Windows installer and the portable ZIP put them), the installed
// package's copyright file (Linux), and the source tree of a build-tree run.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct NoticeDocument {
    QString title;  // what the window's list shows
    QString path;
};

// The documents of the first of `folders` that holds notices, the notices first and then
// each licence text by name; empty when none does.
std::vector<NoticeDocument> noticeDocumentsIn(const QStringList& folders);
// The folders this copy of the tool looks in, in order.
QStringList noticeFolders();

// Shows the notices window (one for the whole program, raised when it is open already).
// It is not modal: a live run behind it goes on.
void showNoticesWindow();
