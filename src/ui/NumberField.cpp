#include "ui/NumberField.h"

#include <algorithm>

TNumberField::TNumberField(int min, int max, int value, QWidget* parent) : QSpinBox(parent) {
    setRange(min, max);
    setValue(value);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State TNumberField::validate(QString& text, int& pos) const {
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits == "-") return QValidator::Intermediate;
    bool ok = false;
    const qlonglong number = digits.toLongLong(&ok);
    // Digits only, and not so many that the number cannot be held.
    if (!ok || digits.size() > 12) return QValidator::Invalid;
    if (number < minimum() || number > maximum()) return QValidator::Intermediate;
    return QSpinBox::validate(text, pos);
}

void TNumberField::fixup(QString& text) const {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    if (!ok) {
        text = QString::number(value());
        return;
    }
    text = QString::number(std::clamp<qlonglong>(number, minimum(), maximum()));
}
