#include "ui/Pictures.h"

#include "platform/JpegPicture.h"

#include <QDir>
#include <QImage>

QPixmap ProgramPicture(const QString& programDir, const QString& name) {
  const JpegPicture picture = LoadJpegFile(QDir(programDir).filePath(name));
  if (picture.IsNull())
    return {};
  const QImage image(reinterpret_cast<const uchar*>(picture.Rgb.constData()), picture.Width,
                     picture.Height, picture.Width * 3, QImage::Format_RGB888);
  // The image only borrows the decoded bytes; the pixmap takes its own copy.
  return QPixmap::fromImage(image);
}
