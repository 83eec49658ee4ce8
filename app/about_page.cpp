#include "app/about_page.h"

#include <QApplication>
#include <QClipboard>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "app/about.h"
#include "app/notices_window.h"
#include "toolkit/panels/dispatch.h"

namespace {

class AboutPage : public QWidget {
  public:
    AboutPage() {
        setObjectName(QStringLiteral("aboutPage"));
        auto* title = new QLabel(QStringLiteral("Quorvel"), this);
        QFont heading = title->font();
        heading.setBold(true);
        heading.setPointSizeF(heading.pointSizeF() * 1.5);
        title->setFont(heading);
        auto* summary = new QLabel(
            QStringLiteral("Configuration and monitoring of the Quorvel level instrument"), this);

        // No mnemonics: Alt and a letter belong to the navigation bar.
        auto* notices = new QPushButton(QStringLiteral("Third-party notices…"), this);
        auto* aboutQt = new QPushButton(QStringLiteral("About Qt…"), this);
        auto* copy = new QPushButton(QStringLiteral("Copy details"), this);
        connect(notices, &QPushButton::clicked, this, [] { showNoticesWindow(); });
        connect(aboutQt, &QPushButton::clicked, this, &AboutPage::showAboutQt);
        connect(copy, &QPushButton::clicked, this, [this] {
            QApplication::clipboard()->setText(aboutDetails());
            say(QStringLiteral("The details are on the clipboard."));
        });
        note_->setAccessibleName(QStringLiteral("Note"));

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(notices);
        buttons->addWidget(aboutQt);
        buttons->addWidget(copy);
        buttons->addStretch(1);
        auto* column = new QVBoxLayout(this);
        column->addWidget(title);
        column->addWidget(summary);
        column->addSpacing(8);
        column->addLayout(form_);
        column->addSpacing(8);
        column->addLayout(buttons);
        column->addWidget(note_);
        column->addStretch(1);
        refresh();
    }

  protected:
    // The folders can move while the tool runs (the history's does in tests); the page
    // shows them as they are when it comes to the front.
    void showEvent(QShowEvent* event) override {
        refresh();
        QWidget::showEvent(event);
    }

  private:
    void refresh() {
        while (form_->rowCount() > 0) form_->removeRow(0);
        for (const AboutLine& line : aboutLines()) {
            auto* value = new QLabel(line.value, this);
            value->setWordWrap(true);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
            value->setAccessibleName(line.label + QStringLiteral(": ") + line.value);
            form_->addRow(line.label + QLatin1Char(':'), value);
        }
        note_->clear();
    }

    void say(const QString& text) {
        note_->setText(text);
        note_->setAccessibleName(text);
    }

    // Qt's About is modal: while an action runs (a live run polls for input), it would hold
    // that action up until it is closed, and the records meanwhile would be lost.
    void showAboutQt() {
        if (InsideCallback()) {
            say(
                QStringLiteral("Qt's own About opens once the action in progress has ended "
                               "(end the live run first)."));
            return;
        }
        QMessageBox::aboutQt(this, QStringLiteral("About Qt"));
    }

    QFormLayout* form_ = new QFormLayout;
    QLabel* note_ = new QLabel(this);
};

}  // namespace

QWidget* createAboutPage() {
    return new AboutPage;
}
