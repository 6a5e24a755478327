#include "tovapicture.h"

#include <QFileInfo>
#include <QImageReader>

TOVAPicture::TOVAPicture(Kind kind, const QImage &image) : m_kind(kind), m_image(image) {}

TOVAPicture TOVAPicture::bitmap(const QImage &image)
{
    if (image.isNull())
        return {};
    return TOVAPicture(Kind::Bitmap, image.convertToFormat(QImage::Format_RGB32));
}

TOVAPicture TOVAPicture::icon(const QImage &image)
{
    if (image.isNull())
        return {};
    return TOVAPicture(Kind::Icon, image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TOVAPicture TOVAPicture::fromFile(const QString &path)
{
    const QImage image = QImageReader(path).read();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("ico") || suffix == QLatin1String("cur"))
        return icon(image);
    return bitmap(image);
}

QSize TOVAPicture::sizeHiMetric() const
{
    const auto toHiMetric = [](int pixels) { return (pixels * 2540 + 48) / 96; };
    return {toHiMetric(m_image.width()), toHiMetric(m_image.height())};
}

bool TOVAPicture::operator==(const TOVAPicture &other) const
{
    return m_kind == other.m_kind && m_image == other.m_image;
}
