#include "widgets/SpinEdit.h"

#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Accepts any whole number while it is typed, so that a value beyond a bound can
// be entered and then brought to that bound, instead of refusing the keystroke.
class TBoundingSpinBox : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

  QValidator::State validate(QString& text, int& /*position*/) const override {
    const QString number = text.trimmed();
    if (number.isEmpty() || number == QLatin1String("-") || number == QLatin1String("+"))
      return QValidator::Intermediate;
    bool isNumber = false;
    const qlonglong value = locale().toLongLong(number, &isNumber);
    if (!isNumber) return QValidator::Invalid;
    return value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                    : QValidator::Intermediate;
  }

  // Called for a text that is not acceptable when the field is left.
  void fixup(QString& text) const override {
    bool isNumber = false;
    const qlonglong value = locale().toLongLong(text.trimmed(), &isNumber);
    const qlonglong bounded =
        isNumber ? std::clamp<qlonglong>(value, minimum(), maximum()) : qlonglong{minimum()};
    text = textFromValue(static_cast<int>(bounded));
  }
};

}  // namespace

TSpinEdit::TSpinEdit(const QString& caption, QWidget* parent)
    : QWidget(parent), label_(new QLabel(caption, this)), spinBox_(new TBoundingSpinBox(this)) {
  spinBox_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  label_->setBuddy(spinBox_);
  setFocusProxy(spinBox_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(label_);
  layout->addWidget(spinBox_);
  connect(spinBox_, &QSpinBox::valueChanged, this, &TSpinEdit::ValueChanged);
}

int TSpinEdit::Value() const {
  spinBox_->interpretText();
  return spinBox_->value();
}

void TSpinEdit::SetValue(int value) { spinBox_->setValue(value); }

void TSpinEdit::SetRange(int minimum, int maximum) { spinBox_->setRange(minimum, maximum); }

int TSpinEdit::Minimum() const { return spinBox_->minimum(); }

int TSpinEdit::Maximum() const { return spinBox_->maximum(); }
