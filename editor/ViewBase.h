#ifndef VIEWBASE_H
#define VIEWBASE_H

#include <QWidget>

class QLabel;
class ViewContentBase;

// The title frame around one page of the view stack.
class ViewBase : public QWidget
{
    Q_OBJECT

public:
    ViewBase(ViewContentBase* pointerViewContent, const QString& title, QWidget* parent);

    void setTitle(const QString& title);
    QString title() const;
    ViewContentBase* viewContent() const { return _pointerViewContent; }

private:
    ViewContentBase* _pointerViewContent;
    QLabel* _pointerLabelTitle;
};

#endif
