#include "PasswordTabWidget.h"
#include "PasswordTable.h"

#include <QTabBar>

namespace
{
class PasswordTabBar : public QTabBar
{
public:
    using QTabBar::QTabBar;

    bool isMeasuringSkipped = false;

protected:
    // Any size will do while nobody sees the bar: the layout that counts comes after the insertions.
    QSize tabSizeHint(int index) const override
    {
        return isMeasuringSkipped ? QSize(1, 1) : QTabBar::tabSizeHint(index);
    }
    QSize minimumTabSizeHint(int index) const override
    {
        return isMeasuringSkipped ? QSize(1, 1) : QTabBar::minimumTabSizeHint(index);
    }
};
} // namespace

PasswordTabWidget::PasswordTabWidget(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new PasswordTabBar(this));
    tabBar()->setAccessibleName(tr("Tabs"));
}

void PasswordTabWidget::beginTabInsertions()
{
    static_cast<PasswordTabBar*>(tabBar())->isMeasuringSkipped = true;
}

void PasswordTabWidget::endTabInsertions()
{
    static_cast<PasswordTabBar*>(tabBar())->isMeasuringSkipped = false;
    // Setting a tab's text lays the bar out again, now with the real sizes, and the widget with it.
    if (count() > 0)
        setTabText(0, tabText(0));
}

int PasswordTabWidget::addNamedTab(QWidget* page, const QString& name)
{
    return addTab(page, PasswordTable::getMenuText(name));
}

QString PasswordTabWidget::tabName(int index) const
{
    // Most names hold no "&": they are handed out without a copy (the memory gauge reads them all
    // on every selection change).
    QString name = tabText(index);
    if (name.contains(QLatin1Char('&')))
        name.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return name;
}

void PasswordTabWidget::setTabName(int index, const QString& name)
{
    setTabText(index, PasswordTable::getMenuText(name));
}
