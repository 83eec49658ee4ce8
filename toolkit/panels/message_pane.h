// The pane below the page that holds the message panel: its title, a Clear button that
// empties the panel's text box, and a line that says what the newest message means.
#pragma once

#include <QFrame>

class QLabel;
class QVBoxLayout;

class MessagePane : public QFrame {
    Q_OBJECT
  public:
    explicit MessagePane(QWidget* parent);

    // The message panel goes into the pane; Clear empties its text box `textBox`.
    void hold(QWidget* panel, int handle, const QString& title, int textBox);
    // Shows the pane and draws the eye (and a screen reader) to its newest line.
    void attention();
    void setHint(const QString& hint);
    QString hint() const;

  private:
    void clear();

    QLabel* title_;
    QLabel* hint_;
    QVBoxLayout* body_;
    int handle_ = 0;
    int textBox_ = 0;
};
