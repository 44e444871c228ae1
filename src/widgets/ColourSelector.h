// A drop-down of the colours a button may take, each with a swatch and a
// readable name: the sixteen standard colours, four extended ones and the system
// colours. Offers no free colour. Owned by its parent; user-interface thread only.
#pragma once

#include <QComboBox>

#include "core/Colour.h"

class TColourSelector : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int kVisibleEntries = 12;

  explicit TColourSelector(QWidget* parent = nullptr);

  // The selected entry's colour; while no entry is selected, the colour last
  // set, so that a colour without an entry survives the dialog unchanged.
  TColour Colour() const;
  // Selects the entry of that colour, or none when the colour has no entry.
  // Emits nothing.
  void SetColour(TColour colour);

 signals:
  // The user picked an entry, with the mouse or the keyboard.
  void ColourSelected(TColour colour);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void PaintSwatches();

  TColour storedColour_ = 0;
};
