#include "tabstrip.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <cmath>

namespace {

class FixedWidthTabBar : public QTabBar {
public:
    explicit FixedWidthTabBar(QWidget *parent) : QTabBar(parent)
    {
        setDrawBase(false);
        setExpanding(false);
        setUsesScrollButtons(false);
    }

    int fixedWidth() const { return m_width; }
    void setFixedWidth(int width)
    {
        m_width = width;
        // Setting a caption again makes the bar lay its tabs out anew.
        for (int i = 0; i < count(); ++i)
            setTabText(i, tabText(i));
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        if (m_width > 0)
            size.setWidth(m_width);
        return size;
    }

private:
    int m_width = 0;
};

FixedWidthTabBar *fixed(QTabBar *bar)
{
    return static_cast<FixedWidthTabBar *>(bar);
}

} // namespace

std::optional<int> largeurOnglet(int width, int count)
{
    if (count == 0)
        return std::nullopt;
    // nearbyint follows the default rounding mode, to nearest with ties to even.
    return static_cast<int>(std::nearbyint(width / (count + 0.01 * count)));
}

TabStrip::TabStrip(QWidget *parent) : QWidget(parent), m_bar(new FixedWidthTabBar(this))
{
    connect(m_bar, &QTabBar::tabBarClicked, this, [this](int index) {
        // A click on the selected tab changes nothing but is a click all the same.
        if (index >= 0 && index == m_bar->currentIndex())
            emit Click();
    });
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            emit Click();
    });
}

void TabStrip::addTab(const QString &caption)
{
    const QSignalBlocker quiet(m_bar);
    m_bar->addTab(caption);
    m_bar->resize(width(), m_bar->sizeHint().height());
}

int TabStrip::count() const
{
    return m_bar->count();
}
int TabStrip::SelectedIndex() const
{
    return m_bar->currentIndex() + 1;
}
void TabStrip::setSelectedIndex(int index)
{
    m_bar->setCurrentIndex(index - 1);
}
int TabStrip::tabWidth() const
{
    return fixed(m_bar)->fixedWidth();
}

void TabStrip::setTabWidth(int width)
{
    fixed(m_bar)->setFixedWidth(width);
    m_bar->resize(this->width(), m_bar->sizeHint().height());
}

void TabStrip::resizeEvent(QResizeEvent *event)
{
    m_bar->resize(width(), m_bar->sizeHint().height());
    QWidget::resizeEvent(event);
}

void TabStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_bar->height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_bar->size();
    frame.tabBarRect = m_bar->geometry();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
}
