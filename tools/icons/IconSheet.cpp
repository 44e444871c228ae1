// Writes the reviewable art of the program into a folder: a contact sheet of every picture of the
// image list with its index, the index-to-name list, and the program icon at 256 pixels for the
// desktop entry. Single-threaded command-line tool; run it after changing any picture.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <array>
#include <cstdio>

#include "widgets/ImageList.h"
#include "widgets/icons/AppIcon.h"

namespace {

constexpr int kColumns = 15;
constexpr int kCellWidth = 22;
constexpr int kCellHeight = 26;
constexpr int kZoom = 4;

// A 3 by 5 pixel digit font for the index labels, so the sheet needs no installed fonts.
constexpr std::array<std::array<const char*, 5>, 10> kTinyDigits{{
    {"###", "#.#", "#.#", "#.#", "###"},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"},
    {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"},
    {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};

void DrawNumber(QPainter& painter, int number, int centreX, int top) {
  const QString text = QString::number(number);
  int x = centreX - (static_cast<int>(text.size()) * 4 - 1) / 2;
  for (const QChar character : text) {
    const auto& rows = kTinyDigits[static_cast<size_t>(character.digitValue())];
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 3; ++column) {
        if (rows[static_cast<size_t>(row)][column] == '#')
          painter.fillRect(x + column, top + row, 1, 1, Qt::black);
      }
    }
    x += 4;
  }
}

QImage ContactSheet(const TImageList& list) {
  const int rows = (list.Count() + kColumns - 1) / kColumns;
  QImage sheet(kColumns * kCellWidth, rows * kCellHeight, QImage::Format_ARGB32);
  sheet.fill(QColor(0xf0, 0xf0, 0xf0));
  QPainter painter(&sheet);
  for (int index = 0; index < list.Count(); ++index) {
    const int left = (index % kColumns) * kCellWidth;
    const int top = (index / kColumns) * kCellHeight;
    painter.fillRect(left + 2, top + 2, 18, 18,
                     index % 2 == 0 ? QColor(0xff, 0xff, 0xff) : QColor(0xd4, 0xd0, 0xc8));
    painter.drawPixmap(left + 3, top + 3, list.Picture(index));
    DrawNumber(painter, index, left + kCellWidth / 2, top + 20);
  }
  painter.end();
  return sheet.scaled(sheet.size() * kZoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool WriteNames(const TImageList& list, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
  QTextStream out(&file);
  for (int index = 0; index < list.Count(); ++index)
    out << index << '\t' << list.Name(index) << '\n';
  out.flush();
  return file.error() == QFileDevice::NoError;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const TImageList list;
  struct TOutput {
    QString file;
    bool written;
  };
  const std::array outputs{
      TOutput{"image-list.png", ContactSheet(list).save(folder.filePath("image-list.png"))},
      TOutput{"image-list.txt", WriteNames(list, folder.filePath("image-list.txt"))},
      TOutput{"tovrana.png", PaintAppIcon(256).save(folder.filePath("tovrana.png"))},
  };
  int status = 0;
  for (const TOutput& output : outputs) {
    if (!output.written) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(folder.filePath(output.file)));
      status = 1;
    }
  }
  return status;
}
