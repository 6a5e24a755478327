// Drawing cost of the button: one whole face (palette and layout recomputed), and one picture composition.

#include "pictureblit.h"
#include "tovabutton.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

QImage sampleIcon()
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(30, 120, 200));
    p.drawEllipse(1, 1, 14, 14);
    return icon;
}

void DrawButtonKde2(benchmark::State &state)
{
    QWidget host;
    host.setAttribute(Qt::WA_DontShowOnScreen);
    auto *button = new TOVAButton(&host);
    button->setButtonType(TOVAButton::KDE2);
    button->setCaption(QStringLiteral("Répartiteur N°&1"));
    button->setPictureNormal(TOVAPicture::icon(sampleIcon()));
    button->setGeometry(0, 0, 275, 21);
    host.resize(300, 40);
    host.show();
    for (auto _ : state) {
        button->Refresh();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawButtonKde2)->Unit(benchmark::kMicrosecond);

void BlitPicture16(benchmark::State &state)
{
    QImage target(275, 21, QImage::Format_RGB32);
    target.fill(qRgb(0xC0, 0xC0, 0xC0));
    QImage picture(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            picture.setPixel(x, y, (x + y) % 3 ? qRgb(x * 16, y * 16, 128) : qRgb(0xC0, 0xC0, 0xC0));
    const PictureBlit::Rules rules{0xC0C0C0, -1, false, false, false};
    for (auto _ : state) {
        PictureBlit::blit(target, 10, 2, 16, 16, picture, rules);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BlitPicture16)->Unit(benchmark::kMicrosecond);

} // namespace
