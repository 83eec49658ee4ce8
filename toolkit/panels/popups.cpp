// Modal pop-ups: a message box, a Yes/No question and the file chooser, or the answerer that
// tests install in their place.
//
// A pop-up usually opens from inside a callback, under the wait cursor; the operator is
// shown the ordinary arrow while the pop-up waits for an answer.
#include "toolkit/panels/popups.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <cstring>
#include <string>

#include "toolkit/panels/popup_answerer.h"
#include "toolkit/panels/types.h"
#include "toolkit/platform/visible_text.h"

namespace {

constexpr size_t kPathCapacity = 512;  // FileSelectPopup's buffer, NUL included

class ArrowCursor {
  public:
    ArrowCursor() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QGuiApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

QString text(const char* s) {
    return QString::fromUtf8(s ? s : "");
}

// "*.txt;*.log" becomes one name filter; "*.*" means every file.
QString nameFilter(const QString& types) {
    QStringList patterns = types.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (auto& p : patterns)
        p = p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed();
    if (patterns.isEmpty() || patterns.contains(QStringLiteral("*")))
        return QStringLiteral("All files (*)");
    return QStringLiteral("Files (%1)").arg(patterns.join(QLatin1Char(' ')));
}

QString acceptLabel(int buttonLabel) {
    switch (buttonLabel) {
        case VAL_SAVE_BUTTON:
            return QStringLiteral("Save");
        case VAL_SELECT_BUTTON:
            return QStringLiteral("Select");
        case VAL_LOAD_BUTTON:
            return QStringLiteral("Load");
        default:
            return QStringLiteral("OK");
    }
}

int storePath(const std::string& path, char pathName[]) {
    if (path.size() >= kPathCapacity)
        return UIE_FileDialogFailed;
    std::memcpy(pathName, path.c_str(), path.size() + 1);
    return UIE_NoError;
}

}  // namespace

int MessagePopup(const char* title, const char* message) {
    return MessagePopup(title, std::string_view(message ? message : ""));
}

int MessagePopup(const char* title, std::string_view message) {
    const std::string shown = VisibleText(message);
    if (PopupAnswerer* answerer = InstalledPopupAnswerer()) {
        answerer->message(title ? title : "", shown);
        return UIE_NoError;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return UIE_NotInitialized;
    const ArrowCursor arrow;
    QMessageBox box(QMessageBox::Information, text(title), QString::fromStdString(shown),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return UIE_NoError;
}

int ConfirmPopup(const char* title, const char* message) {
    return ConfirmPopup(title, std::string_view(message ? message : ""));
}

int ConfirmPopup(const char* title, std::string_view message) {
    const std::string shown = VisibleText(message);
    if (PopupAnswerer* answerer = InstalledPopupAnswerer())
        return answerer->confirm(title ? title : "", shown) == 1 ? 1 : 0;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return UIE_NotInitialized;
    const ArrowCursor arrow;
    QMessageBox box(QMessageBox::Question, text(title), QString::fromStdString(shown),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setAccessibleName(text(title));
    return box.exec() == QMessageBox::Yes ? 1 : 0;
}

// The dialog always offers a cancel button, whatever allowCancel says: an operator is
// never trapped in it. A cancel selects no file and leaves the path empty.
int FileSelectPopup(const char* defaultDirectory, const char* defaultFileSpec,
                    const char* fileTypeList, const char* title, int buttonLabel,
                    int restrictDirectory, int restrictExtension, int allowCancel,
                    int allowMakeDirectory, char pathName[]) {
    if (!pathName)
        return UIE_FileDialogFailed;
    pathName[0] = '\0';
    if (PopupAnswerer* answerer = InstalledPopupAnswerer()) {
        std::string path;
        const std::string spec = defaultFileSpec ? defaultFileSpec : "";
        const bool names = spec.find_first_of("*?") == std::string::npos;
        const int result =
            answerer->fileSelect(title ? title : "", allowCancel != 0, names ? spec : "", path);
        if (result == VAL_EXISTING_FILE_SELECTED || result == VAL_NEW_FILE_SELECTED)
            return storePath(path, pathName) < 0 ? UIE_FileDialogFailed : result;
        return result;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return UIE_NotInitialized;

    const QString start =
        text(defaultDirectory).isEmpty() ? QDir::currentPath() : text(defaultDirectory);
    QFileDialog dialog(QApplication::activeWindow(), text(title), start,
                       nameFilter(text(fileTypeList)));
    const bool load = buttonLabel == VAL_LOAD_BUTTON;
    dialog.setAcceptMode(load ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(load ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Accept, acceptLabel(buttonLabel));
    dialog.setOption(QFileDialog::ReadOnly, allowMakeDirectory == 0);
    const QString pattern = text(defaultFileSpec);
    if (!pattern.isEmpty() && !pattern.contains(QLatin1Char('*')) &&
        !pattern.contains(QLatin1Char('?')))
        dialog.selectFile(pattern);
    const QString suffix = QFileInfo(pattern).suffix();
    if (restrictExtension && !suffix.isEmpty() && suffix != QLatin1String("*"))
        dialog.setDefaultSuffix(suffix);
    if (restrictDirectory) {
        QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                         [&dialog, start](const QString& dir) {
                             if (QDir(dir) != QDir(start))
                                 dialog.setDirectory(start);
                         });
    }

    const ArrowCursor arrow;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return VAL_NO_FILE_SELECTED;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (storePath(QFile::encodeName(QDir::toNativeSeparators(chosen)).toStdString(), pathName) < 0)
        return UIE_FileDialogFailed;
    return QFileInfo::exists(chosen) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
}
