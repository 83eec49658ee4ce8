// A combo box that a screen reader finds by its label. On Linux, Qt's own accessible
// combo box gives the current item as its name; this one keeps the accessible name (set
// it to the label) as the name and gives the current item as the value. Rings, the ports
// dialog and the history page use it for every list they offer.
#pragma once

#include <QComboBox>

class LabelledComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit LabelledComboBox(QWidget* parent);
};
