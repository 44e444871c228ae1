#include "app/RepliesWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString LineText(const TReplyLine& line) { return QString::fromStdString(FormatReplyLine(line)); }

}  // namespace

TfmReplies::TfmReplies(TReplyLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), edReplies_(new QPlainTextEdit(this)) {
  setObjectName("fmReplies");
  setWindowTitle(tr("Replies"));

  auto* outputs = new QHBoxLayout;
  for (int output = 1; output <= kOutputCount; ++output) {
    auto* box = new QCheckBox(tr("Output %1").arg(output), this);
    box->setObjectName(QStringLiteral("cbShowOutput%1").arg(output));
    box->setChecked(true);
    connect(box, &QCheckBox::toggled, this, &TfmReplies::Rebuild);
    outputs->addWidget(box);
    cbShowOutput_[output - 1] = box;
  }
  outputs->addStretch();

  edReplies_->setObjectName("edReplies");
  edReplies_->setReadOnly(true);
  // Nothing is typed here; an undo history would only grow.
  edReplies_->setUndoRedoEnabled(false);
  edReplies_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edReplies_->setMaximumBlockCount(static_cast<int>(TReplyLog::kMaxLines));
  edReplies_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QHBoxLayout;
  struct TButton {
    const char* name;
    QString caption;
    void (TfmReplies::*click)();
  };
  for (const TButton& button : {TButton{"btClear", tr("Clear"), &TfmReplies::btClearClick},
                                TButton{"btCopy", tr("Copy"), &TfmReplies::btCopyClick},
                                TButton{"btSave", tr("Save..."), &TfmReplies::btSaveClick}}) {
    auto* push = new QPushButton(button.caption, this);
    push->setObjectName(button.name);
    push->setAutoDefault(false);
    connect(push, &QPushButton::clicked, this, button.click);
    buttons->addWidget(push);
  }
  buttons->addStretch();
  auto* close = new QPushButton(tr("Close"), this);
  close->setObjectName("btClose");
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  buttons->addWidget(close);

  constexpr int kCatchUpMs = 50;
  catchUp_.setSingleShot(true);
  catchUp_.setInterval(kCatchUpMs);
  connect(&catchUp_, &QTimer::timeout, this, &TfmReplies::ShowChanges);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(outputs);
  layout->addWidget(edReplies_, 1);
  layout->addLayout(buttons);
  resize(720, 360);
}

void TfmReplies::ShowWindow() {
  show();
  raise();
  activateWindow();
}

void TfmReplies::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) Rebuild();
}

bool TfmReplies::OutputShown(int output) const {
  return output >= 1 && output <= kOutputCount && cbShowOutput_[output - 1]->isChecked();
}

void TfmReplies::SetOutputShown(int output, bool shown) {
  if (output >= 1 && output <= kOutputCount) cbShowOutput_[output - 1]->setChecked(shown);
}

void TfmReplies::LinesChanged(uint64_t firstChanged) {
  // A hidden window only remembers to catch up when it is shown.
  if (!isVisible()) {
    stale_ = true;
    return;
  }
  if (firstPending_ == 0 || firstChanged < firstPending_) firstPending_ = firstChanged;
  if (!catchUp_.isActive()) catchUp_.start();
}

void TfmReplies::ShowChanges() {
  catchUp_.stop();
  const uint64_t firstChanged = firstPending_;
  firstPending_ = 0;
  const std::deque<TReplyLine>& lines = log_.Lines();
  if (firstChanged == 0 || lines.empty()) return;
  const uint64_t first = std::max(firstChanged, lines.front().Number);
  const size_t count = lines.size() - static_cast<size_t>(first - lines.front().Number);
  // More new lines than the view keeps: drawing them all would be wasted.
  if (count >= TReplyLog::kMaxLines) return Rebuild();
  QStringList added;
  for (size_t index = lines.size() - count; index < lines.size(); ++index) {
    const TReplyLine& line = lines[index];
    if (!OutputShown(line.Output)) continue;
    if (line.Number == lastShown_) {
      // The burst went on: its line is the last block, rewritten in place.
      QTextCursor cursor(edReplies_->document());
      cursor.movePosition(QTextCursor::End);
      cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
      cursor.insertText(LineText(line));
    } else if (line.Number > lastShown_) {
      added << LineText(line);
      lastShown_ = line.Number;
    }
  }
  if (!added.isEmpty()) edReplies_->appendPlainText(added.join('\n'));
}

void TfmReplies::Rebuild() {
  catchUp_.stop();
  firstPending_ = 0;
  QStringList shown;
  lastShown_ = 0;
  for (const TReplyLine& line : log_.Lines()) {
    if (!OutputShown(line.Output)) continue;
    shown << LineText(line);
    lastShown_ = line.Number;
  }
  edReplies_->setPlainText(shown.join('\n'));
  edReplies_->moveCursor(QTextCursor::End);
  stale_ = false;
}

QString TfmReplies::ShownText() const { return edReplies_->toPlainText(); }

void TfmReplies::btClearClick() {
  log_.Clear();
  Rebuild();
}

void TfmReplies::btCopyClick() {
  ShowChanges();
  const QString text = ShownText();
  QApplication::clipboard()->setText(text.isEmpty() ? text : text + '\n');
}

bool TfmReplies::SaveShownLines(const QString& fileName, QString& error) {
  ShowChanges();
  QSaveFile file(fileName);
  const QString shown = ShownText();
  const QByteArray text = shown.isEmpty() ? QByteArray() : shown.toUtf8() + '\n';
  if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()) {
    return true;
  }
  error = file.errorString();
  return false;
}

void TfmReplies::btSaveClick() {
  const QString fileName = QFileDialog::getSaveFileName(this, tr("Save Replies"), QString(),
                                                        tr("Text files (*.txt);;All files (*)"));
  if (fileName.isEmpty()) return;
  QString error;
  if (SaveShownLines(fileName, error)) return;
  QMessageBox::critical(this, windowTitle(),
                        tr("The replies could not be saved to %1: %2")
                            .arg(QDir::toNativeSeparators(fileName), error));
}
