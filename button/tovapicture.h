#pragma once

#include "tovabutton_global.h"

#include <QImage>
#include <QMetaType>
#include <QSize>

// A picture object as the button keeps it: empty, a bitmap, or an icon. A bitmap is opaque and is used
// pixel for pixel; an icon carries its own transparency and is composed over a background when drawn.
class TOVA_BUTTON_EXPORT TOVAPicture {
public:
    enum class Kind { None, Bitmap, Icon };

    TOVAPicture() = default;
    static TOVAPicture bitmap(const QImage &image);
    static TOVAPicture icon(const QImage &image);
    // Icons and cursors by their suffix (.ico, .cur), every other readable image as a bitmap;
    // an unreadable file gives an empty picture.
    static TOVAPicture fromFile(const QString &path);

    bool isNull() const { return m_kind == Kind::None; }
    Kind kind() const { return m_kind; }
    // Bitmaps in RGB32, icons in ARGB32 (premultiplied).
    const QImage &image() const { return m_image; }
    QSize size() const { return m_image.size(); }
    // The size in HiMetric units (0.01 mm) at 96 pixels per inch, as picture objects report it.
    QSize sizeHiMetric() const;

    bool operator==(const TOVAPicture &other) const;

private:
    TOVAPicture(Kind kind, const QImage &image);

    Kind m_kind = Kind::None;
    QImage m_image;
};

Q_DECLARE_METATYPE(TOVAPicture)
