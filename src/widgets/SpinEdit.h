// A whole-number field with a range and, above it, the label that names it. A
// value typed outside the range is brought to the nearest bound, and an emptied
// field to its lower bound, when the field loses the focus. Owns its label and
// spin box; user-interface thread only.
#pragma once

#include <QWidget>

class QLabel;
class QSpinBox;

class TSpinEdit : public QWidget {
  Q_OBJECT

 public:
  explicit TSpinEdit(const QString& caption = QString(), QWidget* parent = nullptr);

  // The value shown. A text still being typed is brought into the range first,
  // as leaving the field would, so that a dialog closed from the keyboard
  // stores what the field shows afterwards.
  int Value() const;
  void SetValue(int value);
  // A value outside the new range is brought to its nearest bound.
  void SetRange(int minimum, int maximum);
  int Minimum() const;
  int Maximum() const;

  QLabel* EditLabel() const { return label_; }
  QSpinBox* SpinBox() const { return spinBox_; }

 signals:
  void ValueChanged(int value);

 private:
  QLabel* label_;
  QSpinBox* spinBox_;
};
