// The value controls: numeric (int, float, double), binary switch, ring and indicator.
#include "toolkit/panels/control_values.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

#include "toolkit/widgets/labelled_combo_box.h"

namespace {

QString rangeText(const ControlDef& def) {
    return QStringLiteral("from %1 to %2").arg(def.min).arg(def.max);
}

}  // namespace

IntNumericControl::IntNumericControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel), spin_(new QSpinBox(panel)), value_(static_cast<int>(def.value)) {
    spin_->setRange(static_cast<int>(def.min), static_cast<int>(def.max));
    spin_->setSingleStep(std::max(1, static_cast<int>(def.step)));
    // A value reaches the program when the operator commits it, not per keystroke.
    spin_->setKeyboardTracking(false);
    spin_->setValue(value_);
    spin_->setAccessibleDescription(rangeText(def));
    spin_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setWidget(spin_, true);
    connect(spin_, &QSpinBox::valueChanged, this, [this](int v) {
        value_ = v;
        emit committed();
    });
}

int IntNumericControl::get(int* value) const {
    *value = value_;
    return UIE_NoError;
}

int IntNumericControl::set(int value) {
    if (value < def().min || value > def().max)
        return UIE_ValueOutOfRange;
    const QSignalBlocker quiet(spin_);
    spin_->setValue(value);
    value_ = value;
    return UIE_NoError;
}

RealNumericControl::RealNumericControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel), spin_(new QDoubleSpinBox(panel)), value_(def.value) {
    if (def.dataType == DataType::Float)
        value_ = static_cast<float>(value_);
    spin_->setDecimals(def.precision);
    spin_->setRange(def.min, def.max);
    spin_->setSingleStep(def.step);
    spin_->setKeyboardTracking(false);
    spin_->setValue(value_);
    spin_->setAccessibleDescription(rangeText(def));
    spin_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setWidget(spin_, true);
    connect(spin_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        value_ = this->def().dataType == DataType::Float ? static_cast<float>(v) : v;
        emit committed();
    });
}

int RealNumericControl::get(float* value) const {
    if (def().dataType != DataType::Float)
        return UIE_TypeMismatch;
    *value = static_cast<float>(value_);
    return UIE_NoError;
}

int RealNumericControl::get(double* value) const {
    if (def().dataType != DataType::Double)
        return UIE_TypeMismatch;
    *value = value_;
    return UIE_NoError;
}

int RealNumericControl::set(float value) {
    return def().dataType == DataType::Float ? store(value) : UIE_TypeMismatch;
}

int RealNumericControl::set(double value) {
    return def().dataType == DataType::Double ? store(value) : UIE_TypeMismatch;
}

int RealNumericControl::store(double value) {
    if (!(value >= def().min && value <= def().max))
        return UIE_ValueOutOfRange;
    const QSignalBlocker quiet(spin_);
    spin_->setValue(value);
    value_ = value;
    return UIE_NoError;
}

BinaryControl::BinaryControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel), box_(new QCheckBox(def.label, panel)) {
    box_->setChecked(def.value != 0);
    setWidget(box_, false);
    connect(box_, &QCheckBox::toggled, this, &PanelControl::committed);
}

int BinaryControl::get(int* value) const {
    *value = box_->isChecked() ? 1 : 0;
    return UIE_NoError;
}

int BinaryControl::set(int value) {
    if (value != 0 && value != 1)
        return UIE_ValueOutOfRange;
    const QSignalBlocker quiet(box_);
    box_->setChecked(value == 1);
    return UIE_NoError;
}

RingControl::RingControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel), combo_(new LabelledComboBox(panel)) {
    for (const auto& item : def.items) combo_->addItem(item.label, item.value);
    select(def.value);
    combo_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    fitLabels();
    setWidget(combo_, true);
    connect(combo_, &QComboBox::currentIndexChanged, this, &PanelControl::committed);
}

int RingControl::get(int* value) const {
    if (def().dataType != DataType::Int)
        return UIE_TypeMismatch;
    *value = static_cast<int>(def().items[combo_->currentIndex()].value);
    return UIE_NoError;
}

int RingControl::get(float* value) const {
    if (def().dataType != DataType::Float)
        return UIE_TypeMismatch;
    *value = static_cast<float>(def().items[combo_->currentIndex()].value);
    return UIE_NoError;
}

int RingControl::set(int value) {
    return def().dataType == DataType::Int ? select(value) : UIE_TypeMismatch;
}

// A float ring selects the item whose value, as a float, is exactly the one given.
int RingControl::set(float value) {
    if (def().dataType != DataType::Float)
        return UIE_TypeMismatch;
    for (size_t i = 0; i < def().items.size(); ++i) {
        if (static_cast<float>(def().items[i].value) == value)
            return select(def().items[i].value);
    }
    return UIE_ValueOutOfRange;
}

int RingControl::select(double value) {
    for (size_t i = 0; i < def().items.size(); ++i) {
        if (def().items[i].value == value) {
            const QSignalBlocker quiet(combo_);
            combo_->setCurrentIndex(static_cast<int>(i));
            return UIE_NoError;
        }
    }
    return UIE_ValueOutOfRange;
}

// The longest label always fits: a relabelled item (a port with its device) widens the
// panel rather than being cut.
void RingControl::fitLabels() {
    combo_->setMinimumWidth(combo_->sizeHint().width());
}

int RingControl::relabel(int index, const QString& label) {
    if (index < 0 || index >= combo_->count())
        return UIE_ValueOutOfRange;
    combo_->setItemText(index, label);
    fitLabels();
    return UIE_NoError;
}

IndicatorControl::IndicatorControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel), display_(new QLineEdit(panel)), value_(def.value) {
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    display_->setMinimumWidth(display_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 14);
    setWidget(display_, true);
    set(value_);
}

int IndicatorControl::get(double* value) const {
    *value = value_;
    return UIE_NoError;
}

int IndicatorControl::set(double value) {
    value_ = value;
    display_->setText(QString::number(value, 'f', def().precision));
    return UIE_NoError;
}
