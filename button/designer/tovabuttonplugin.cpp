#include "tovabuttonplugin.h"

#include "tovaambient.h"
#include "tovabutton.h"

namespace {

class DesignAmbient : public TOVAAmbient {
public:
    bool userMode(const QWidget *) const override { return false; }
};

const DesignAmbient designAmbient;

} // namespace

TOVAButtonPlugin::TOVAButtonPlugin(QObject *parent) : QObject(parent) {}

QString TOVAButtonPlugin::name() const { return QStringLiteral("TOVAButton"); }
QString TOVAButtonPlugin::group() const { return QStringLiteral("Buttons"); }
QString TOVAButtonPlugin::toolTip() const { return QStringLiteral("Owner-drawn push or check button"); }
QString TOVAButtonPlugin::whatsThis() const { return toolTip(); }
QString TOVAButtonPlugin::includeFile() const { return QStringLiteral("tovabutton.h"); }
QIcon TOVAButtonPlugin::icon() const { return {}; }
bool TOVAButtonPlugin::isContainer() const { return false; }

QWidget *TOVAButtonPlugin::createWidget(QWidget *parent)
{
    auto *button = new TOVAButton(parent);
    button->setAmbient(&designAmbient);
    return button;
}

bool TOVAButtonPlugin::isInitialized() const { return m_initialized; }
void TOVAButtonPlugin::initialize(QDesignerFormEditorInterface *) { m_initialized = true; }

QString TOVAButtonPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="TOVAButton" name="tovaButton">
  <property name="geometry"><rect><x>0</x><y>0</y><width>100</width><height>25</height></rect></property>
 </widget>
</ui>
)");
}
