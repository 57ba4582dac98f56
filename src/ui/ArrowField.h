#pragma once
// A number field whose value changes only through its arrows: the text is shown but cannot be
// typed into.
#include <QLineEdit>
#include <QSpinBox>

class TArrowField : public QSpinBox {
  public:
    TArrowField(int min, int max, int step, int value, QWidget* parent = nullptr)
        : QSpinBox(parent) {
        setRange(min, max);
        setSingleStep(step);
        setValue(value);
        lineEdit()->setReadOnly(true);
    }
};
