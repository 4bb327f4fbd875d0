#include "framework/image_stamp.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>

namespace DuiLib {

bool StampBottomLine(const std::string& path, const std::string& line) {
  if (line.empty()) return true;
  const QString file = QString::fromStdString(path);
  QImage image(file);
  if (image.isNull()) return false;
  image = image.convertToFormat(QImage::Format_RGB32);

  // About one twenty-fifth of the height, and never under 20 pixels, so the line stays readable
  // on a small picture.
  const int band = std::min(std::max(image.height() / 25, 20), image.height());
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(8, band * 3 / 5));
  const QString text = QString::fromStdString(line);
  {
    QPainter painter(&image);
    const QRect strip(0, image.height() - band, image.width(), band);
    painter.fillRect(strip, QColor(0, 0, 0, 170));
    painter.setFont(font);
    painter.setPen(Qt::white);
    const int margin = band / 3;
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight,
                                                        std::max(0, image.width() - 2 * margin));
    painter.drawText(strip.adjusted(margin, 0, -margin, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     shown);
  }
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return false;
  // A light compression level: a 1080p frame is written in a fraction of the default level's time
  // (this runs while the player waits paused), for a file a few per cent larger.
  if (!image.save(&out, "PNG", 80)) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

}  // namespace DuiLib
