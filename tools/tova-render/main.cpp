// tova-render: draws one button control, or the sheet of all its styles, into a PNG file.

#include "buttonshot.h"

#include "tovapropertybag.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTextStream>

namespace {

int usage(const QString &problem)
{
    QTextStream err(stderr);
    if (!problem.isEmpty())
        err << "tova-render: " << problem << "\n";
    err << "usage: tova-render [KEY=VALUE ...] --size WxH [--hover] [--down] [--focus] [--default] -o "
           "FILE.png\n"
           "       tova-render --gallery -o FILE.png\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // The tool draws off screen; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    ButtonShot::Look look;
    bool gallery = false;
    bool sized = false;
    QString output;
    QStringList assignments;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == "--size" && i + 1 < args.size()) {
            const auto m = QRegularExpression("^(\\d+)x(\\d+)$").match(args[++i]);
            if (!m.hasMatch())
                return usage("--size takes WxH, for example 100x24");
            look.size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
            sized = true;
        } else if (a == "--hover") {
            look.hover = true;
        } else if (a == "--down") {
            look.down = true;
        } else if (a == "--focus") {
            look.focus = true;
        } else if (a == "--default") {
            look.asDefault = true;
        } else if (a == "--gallery") {
            gallery = true;
        } else if (a == "-o" && i + 1 < args.size()) {
            output = args[++i];
        } else if (a.startsWith('-')) {
            return usage("unknown option " + a);
        } else {
            assignments << a;
        }
    }
    if (output.isEmpty())
        return usage("no output file (-o FILE.png)");
    if (!gallery && !sized)
        return usage("no size (--size WxH)");

    QImage image;
    if (gallery) {
        image = ButtonShot::gallery();
    } else {
        TOVAPropertyBag bag;
        const QString problem = ButtonShot::parseProperties(assignments, bag);
        if (!problem.isEmpty())
            return usage(problem);
        image = ButtonShot::render(bag, look);
    }
    if (!image.save(output, "PNG")) {
        QTextStream(stderr) << "tova-render: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
