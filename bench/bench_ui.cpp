// The window's shape cut out of the 666 x 363 skin, and the drawing of its three command buttons.
#include "commandes.h"
#include "modskin.h"
#include "tovabutton.h"
#include "tovabutton_p.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void RegionDepuisImage_skin(benchmark::State &state)
{
    const QImage skin(QStringLiteral(SOLVARIN_SKIN));
    if (skin.isNull()) {
        state.SkipWithError("skin picture not found");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(modSkin::RegionDepuisImage(skin));
}
BENCHMARK(RegionDepuisImage_skin)->Unit(benchmark::kMicrosecond);

// One forced redraw of cmdParam, cmdDispo(0) and cmdDispo(1), with their stored properties and sizes.
void DrawButton_threeCommands(benchmark::State &state)
{
    QWidget window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.resize(659, 363);
    using Commandes::Bouton;
    const struct {
        Bouton bouton;
        QRect geometry;
        const char *caption;
    } commands[] = {
        {Bouton::Param, {12, 328, 108, 20}, "Paramètres"},
        {Bouton::Dispo1, {17, 170, 275, 21}, "Disponibilité PHOENIX"},
        {Bouton::Dispo2, {322, 170, 275, 21}, "Disponibilité CERP ROUEN"},
    };
    std::vector<TOVAButtonPrivate *> buttons;
    for (const auto &c : commands) {
        TOVAButton *button = Commandes::creer(c.bouton, &window);
        button->setCaption(QString::fromUtf8(c.caption));
        button->setGeometry(c.geometry);
        buttons.push_back(TOVAButtonPrivate::get(button));
    }
    window.show();
    for (auto _ : state)
        for (TOVAButtonPrivate *d : buttons) {
            d->DrawButton(0, true);
            benchmark::DoNotOptimize(d->BackBuffer.constBits());
        }
}
BENCHMARK(DrawButton_threeCommands)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(artwork); // the buttons' icons
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
