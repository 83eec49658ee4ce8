// The list a ring control shows. On Linux, Qt's own accessible combo box gives the current
// item as its name; a screen reader then cannot find the control by its label. This one
// keeps the label as the name and the current item as the value.
#pragma once

#include <QComboBox>

class RingComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit RingComboBox(QWidget* parent);
};
