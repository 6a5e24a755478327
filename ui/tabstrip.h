#pragma once

#include <QWidget>

#include <optional>

class QTabBar;

// A tab strip: a row of tabs of one fixed width above an empty panel that other controls cover.
// Tabs are numbered from 1.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget *parent = nullptr);

    void addTab(const QString &caption);
    int count() const;
    int SelectedIndex() const;
    void setSelectedIndex(int index);
    void setTabWidth(int width);
    int tabWidth() const;
    QTabBar *tabBar() const { return m_bar; }

signals:
    // A tab was chosen, by the mouse (also the tab already selected) or the keyboard.
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QTabBar *m_bar;
};

// The fixed tab width that fills a strip of `width` with `count` tabs: width / (count + 0.01 count),
// rounded to the nearest integer, ties to even. None without tabs.
std::optional<int> largeurOnglet(int width, int count);
