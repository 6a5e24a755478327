#include "buttonshot.h"

#include "tovaambient.h"
#include "tovabutton.h"
#include "tovapropertybag.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QFont>
#include <QMetaEnum>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace ButtonShot {

namespace {

enum class KeyType { Int, Short, Bool, Text, Font, Picture };

KeyType typeOf(const QString &key, bool *known)
{
    static const QHash<QString, KeyType> types = {
        {"BTYPE", KeyType::Int},     {"TX", KeyType::Text},      {"ENAB", KeyType::Bool},
        {"FONT", KeyType::Font},     {"COLTYPE", KeyType::Int},  {"FOCUSR", KeyType::Bool},
        {"BCOL", KeyType::Int},      {"BCOLO", KeyType::Int},    {"FCOL", KeyType::Int},
        {"FCOLO", KeyType::Int},     {"MCOL", KeyType::Int},     {"MPTR", KeyType::Short},
        {"MICON", KeyType::Picture}, {"PICN", KeyType::Picture}, {"PICH", KeyType::Picture},
        {"UMCOL", KeyType::Bool},    {"SOFT", KeyType::Bool},    {"PICPOS", KeyType::Int},
        {"NGREY", KeyType::Bool},    {"FX", KeyType::Int},       {"HAND", KeyType::Bool},
        {"CHECK", KeyType::Bool},    {"VALUE", KeyType::Bool},
    };
    *known = types.contains(key);
    return types.value(key, KeyType::Text);
}

bool parseNumber(const QString &text, qint64 *value)
{
    bool ok = false;
    const QString t = text.trimmed();
    if (t.startsWith("0x", Qt::CaseInsensitive))
        *value = t.mid(2).toLongLong(&ok, 16);
    else
        *value = t.toLongLong(&ok, 10);
    return ok && *value >= -2147483648LL && *value <= 0xFFFFFFFFLL;
}

// The host of a rendered control: its default-button flag is the look's.
class ShotAmbient : public TOVAAmbient {
public:
    explicit ShotAmbient(bool asDefault) : m_asDefault(asDefault) {}
    bool displayAsDefault(const QWidget *) const override { return m_asDefault; }

private:
    bool m_asDefault;
};

// Diagonal stripes behind the control, so that the Transparent style shows what it lets through.
class Backdrop : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xE8, 0xF0, 0xD8));
        p.setPen(QPen(QColor(0xB0, 0xC8, 0x90), 3));
        for (int x = -height(); x < width(); x += 10)
            p.drawLine(x, height(), x + height(), 0);
    }
};

} // namespace

QString parseProperties(const QStringList &assignments, TOVAPropertyBag &bag)
{
    for (const QString &assignment : assignments) {
        const qsizetype eq = assignment.indexOf('=');
        if (eq <= 0)
            return QStringLiteral("not KEY=VALUE: %1").arg(assignment);
        const QString key = assignment.left(eq).toUpper();
        const QString value = assignment.mid(eq + 1);
        bool known = false;
        const KeyType type = typeOf(key, &known);
        if (!known)
            return QStringLiteral("unknown key: %1").arg(key);
        qint64 number = 0;
        switch (type) {
        case KeyType::Int:
        case KeyType::Short:
            if (!parseNumber(value, &number))
                return QStringLiteral("not a number: %1").arg(assignment);
            if (type == KeyType::Short)
                bag.writeProperty(key, QVariant::fromValue(short(number)));
            else
                bag.writeProperty(key, int(qint32(quint32(number))));
            break;
        case KeyType::Bool: {
            const QString v = value.trimmed().toLower();
            if (v != "0" && v != "-1" && v != "1" && v != "true" && v != "false")
                return QStringLiteral("not a Boolean: %1").arg(assignment);
            bag.writeProperty(key, v == "-1" || v == "1" || v == "true");
            break;
        }
        case KeyType::Text:
            bag.writeProperty(key, value);
            break;
        case KeyType::Font: {
            const QStringList parts = value.split(',');
            QFont font(parts.value(0));
            if (parts.size() > 1)
                font.setPointSizeF(parts[1].toDouble());
            font.setBold(parts.value(2).trimmed().toLower() == "bold");
            bag.writeProperty(key, font);
            break;
        }
        case KeyType::Picture: {
            const TOVAPicture picture = TOVAPicture::fromFile(value);
            if (picture.isNull())
                return QStringLiteral("cannot read the picture: %1").arg(value);
            bag.writeProperty(key, QVariant::fromValue(picture));
            break;
        }
        }
    }
    return {};
}

QImage render(const TOVAPropertyBag &bag, const Look &look)
{
    const ShotAmbient ambient(look.asDefault);
    // Shown, so that the pointer can be over the control.
    QWidget host;
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, QColor(0xE8, 0xF0, 0xD8));
    palette.setColor(QPalette::WindowText, QColor(0x20, 0x50, 0x10));
    host.setPalette(palette);
    host.resize(look.size);
    auto *backdrop = new Backdrop(&host);
    backdrop->setGeometry(0, 0, look.size.width(), look.size.height());
    auto *button = new TOVAButton(&host);
    button->setAmbient(&ambient);
    button->ReadProperties(bag);
    button->setGeometry(0, 0, look.size.width(), look.size.height());
    host.show();

    // The look as the events that give it: the focus, the pointer on the control, the left button pressed.
    if (look.focus) {
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(button, &in);
    }
    const QPoint centre = button->rect().center();
    const QPoint global = button->mapToGlobal(centre);
    if (look.hover) {
        QCursor::setPos(global);
        QMouseEvent move(QEvent::MouseMove, centre, global, Qt::NoButton, {}, {});
        QCoreApplication::sendEvent(button, &move);
    }
    if (look.down) {
        QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(button, &press);
    }

    QImage shot = button->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // The shape is in logical pixels; the buffer, at a high-resolution screen, in device pixels.
    const qreal ratio = shot.devicePixelRatio();
    for (int y = 0; y < shot.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(shot.scanLine(y));
        for (int x = 0; x < shot.width(); ++x)
            if (!button->mask().contains(QPoint(int(x / ratio), int(y / ratio))))
                line[x] = 0;
    }
    return shot;
}

QImage gallery()
{
    struct Scheme {
        TOVAButton::ColorTypes value;
        QStringList properties;
    };
    const QList<Scheme> schemes = {
        {TOVAButton::UseWindows, {}},
        {TOVAButton::Custom, {"BCOL=0xF0D8B0", "BCOLO=0xFFE8C8", "FCOL=0x402000", "FCOLO=0x0000C0"}},
        {TOVAButton::ForceStandard, {}},
        {TOVAButton::UseContainer, {}},
    };
    struct State {
        const char *name;
        Look look;
        QStringList properties;
    };
    const QSize cell(112, 26);
    const QList<State> states = {
        {"up", {cell, false, false, false, false}, {}},
        {"hover", {cell, true, false, false, false}, {}},
        {"down", {cell, false, true, false, false}, {}},
        {"disabled", {cell, false, false, false, false}, {"ENAB=0"}},
        {"focus", {cell, false, false, true, false}, {}},
        {"default", {cell, false, false, false, true}, {}},
    };
    // Every style, in the enumeration's order.
    const QMetaEnum styles = QMetaEnum::fromType<TOVAButton::ButtonTypes>();
    QList<TOVAButton::ButtonTypes> types;
    for (int i = 0; i < styles.keyCount(); ++i)
        types << TOVAButton::ButtonTypes(styles.value(i));

    const int labelWidth = 230;
    const int gap = 6;
    const int header = 22;
    QImage sheet(labelWidth + int(states.size()) * (cell.width() + gap) + gap,
                 header + int(types.size() * schemes.size()) * (cell.height() + gap) + gap,
                 QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setPen(Qt::black);
    for (int s = 0; s < states.size(); ++s)
        painter.drawText(QRect(labelWidth + s * (cell.width() + gap), 0, cell.width(), header),
                         Qt::AlignCenter, QString::fromLatin1(states[s].name));

    int row = 0;
    for (const TOVAButton::ButtonTypes type : types) {
        for (const Scheme &scheme : schemes) {
            const int top = header + row * (cell.height() + gap);
            painter.drawText(QRect(4, top, labelWidth - 8, cell.height()), Qt::AlignVCenter | Qt::AlignLeft,
                             QStringLiteral("%1 %2 / %3")
                                 .arg(int(type))
                                 .arg(TOVAButton::displayName(type), TOVAButton::displayName(scheme.value)));
            for (int s = 0; s < states.size(); ++s) {
                TOVAPropertyBag bag;
                QStringList properties = {QStringLiteral("BTYPE=%1").arg(int(type)),
                                          QStringLiteral("COLTYPE=%1").arg(int(scheme.value)), "TX=&Ok"};
                parseProperties(properties + scheme.properties + states[s].properties, bag);
                painter.drawImage(labelWidth + s * (cell.width() + gap), top, render(bag, states[s].look));
            }
            ++row;
        }
    }
    return sheet;
}

} // namespace ButtonShot
