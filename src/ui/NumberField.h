#pragma once
// A whole-number field with arrows that takes any number typed into it and brings it into its
// range when the field is left (or read), instead of refusing the keystroke that leaves the range.
#include <QSpinBox>

class TNumberField : public QSpinBox {
  public:
    TNumberField(int min, int max, int value, QWidget* parent = nullptr);

  protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
};
