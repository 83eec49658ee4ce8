#include "app/notices_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {

// The names the notices file has: with .txt where Windows opens it by its extension.
const char* const kNoticeNames[] = {"THIRD-PARTY-NOTICES.txt", "THIRD-PARTY-NOTICES"};

std::vector<NoticeDocument> documentsOf(const QDir& folder) {
    for (const char* name : kNoticeNames) {
        const QString notices = folder.filePath(QLatin1String(name));
        if (!QFileInfo(notices).isFile())
            continue;
        std::vector<NoticeDocument> documents{{QStringLiteral("Third-party notices"), notices}};
        const QDir licences(folder.filePath(QStringLiteral("licenses")));
        const QStringList texts = licences.entryList({QStringLiteral("*.txt")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
        for (const QString& text : texts)
            documents.push_back({QFileInfo(text).completeBaseName(), licences.filePath(text)});
        return documents;
    }
    // An installed package says what it holds in its copyright file.
    const QString copyright = folder.filePath(QStringLiteral("copyright"));
    if (QFileInfo(copyright).isFile())
        return {{QStringLiteral("Copyright and licences"), copyright}};
    return {};
}

QString contentsOf(const NoticeDocument& document) {
    QFile file(document.path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("%1 cannot be read: %2")
            .arg(QDir::toNativeSeparators(document.path), file.errorString());
    return QString::fromUtf8(file.readAll());
}

class NoticesWindow : public QDialog {
  public:
    NoticesWindow() {
        setWindowTitle(QStringLiteral("Third-party notices"));
        setAccessibleName(windowTitle());
        setAttribute(Qt::WA_DeleteOnClose);
        list_->setAccessibleName(QStringLiteral("Documents"));
        text_->setReadOnly(true);
        text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        text_->setLineWrapMode(QPlainTextEdit::NoWrap);
        text_->setAccessibleName(QStringLiteral("Text of the document"));
        path_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        path_->setWordWrap(true);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* row = new QHBoxLayout;
        row->addWidget(list_, 1);
        row->addWidget(text_, 4);
        auto* column = new QVBoxLayout(this);
        column->addLayout(row, 1);
        column->addWidget(path_);
        column->addWidget(buttons);
        resize(900, 600);

        connect(list_, &QListWidget::currentRowChanged, this, &NoticesWindow::showDocument);
        fill();
    }

  private:
    void fill() {
        documents_ = noticeDocumentsIn(noticeFolders());
        for (const NoticeDocument& d : documents_) list_->addItem(d.title);
        if (documents_.empty()) {
            list_->hide();
            text_->setPlainText(
                QStringLiteral("No third-party notices were found. Looked in:\n%1")
                    .arg(QDir::toNativeSeparators(noticeFolders().join(QLatin1Char('\n')))));
            return;
        }
        list_->setCurrentRow(0);
    }

    void showDocument(int row) {
        if (row < 0 || row >= static_cast<int>(documents_.size()))
            return;
        const NoticeDocument& document = documents_[static_cast<size_t>(row)];
        text_->setPlainText(contentsOf(document));
        path_->setText(QDir::toNativeSeparators(document.path));
    }

    QListWidget* list_ = new QListWidget(this);
    QPlainTextEdit* text_ = new QPlainTextEdit(this);
    QLabel* path_ = new QLabel(this);
    std::vector<NoticeDocument> documents_;
};

}  // namespace

std::vector<NoticeDocument> noticeDocumentsIn(const QStringList& folders) {
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        std::vector<NoticeDocument> documents = documentsOf(QDir(folder));
        if (!documents.empty())
            return documents;
    }
    return {};
}

QStringList noticeFolders() {
    QStringList folders{QCoreApplication::applicationDirPath(), QStringLiteral(QUORVEL_DOC_DIR)};
    if (const QString source = QStringLiteral(QUORVEL_SOURCE_NOTICES_DIR); !source.isEmpty())
        folders.append(source);
    return folders;
}

void showNoticesWindow() {
    static QPointer<NoticesWindow> window;
    if (!window)
        window = new NoticesWindow;
    window->show();
    window->raise();
    window->activateWindow();
}
