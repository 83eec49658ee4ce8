// The text box control, which paints a burst of changes at most once a frame.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/panels/panel_control.h"

class QPlainTextEdit;

// A text box. A burst of changes (a live run replaces the text per record) is painted at
// most once a frame: a change within a frame of the last paint waits, newest text only,
// for a single-shot timer at the end of that frame. A lone change is painted at once.
class TextBoxControl : public PanelControl {
    Q_OBJECT
  public:
    TextBoxControl(const ControlDef& def, QWidget* panel);
    // Replaces the whole text; the same text again changes nothing.
    void reset(const QString& text);
    // Inserts before line `index`; a negative or too large index appends.
    void insertLine(int index, QString text);
    // The lines as the box holds them, a pending replacement included.
    std::vector<std::string> lines() const;

  private:
    struct Replacement {
        QString text;  // without the final line feed
        bool hasLines;
    };
    // The pending text is already the box's content as far as anyone asks, so applying it
    // early (on a read) changes nothing observable: hence const, with mutable state.
    void applyPending() const;
    void paintSoon();
    void endFrame();

    QPlainTextEdit* edit_;
    const bool oneRow_;  // no wrapping, no scroll bars: its text is replaced in place
    // An empty document is either no line or one empty line; only this tells them apart.
    mutable bool hasLines_ = false;
    mutable std::optional<Replacement> pending_;
    // What the last replacement put in the document, while no insert has changed it since.
    mutable std::optional<QString> applied_;
    QElapsedTimer painted_;
    QTimer frame_;
};
