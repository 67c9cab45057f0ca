#include "ViewBase.h"

#include "ViewContentBase.h"

#include <QLabel>
#include <QVBoxLayout>

ViewBase::ViewBase(ViewContentBase* pointerViewContent, const QString& title, QWidget* parent)
    : QWidget(parent), _pointerViewContent(pointerViewContent), _pointerLabelTitle(new QLabel(title, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 9, 0, 0);

    _pointerLabelTitle->setAlignment(Qt::AlignHCenter);
    _pointerLabelTitle->setTextFormat(Qt::PlainText);
    QFont font = _pointerLabelTitle->font();
    font.setPointSize(26);
    _pointerLabelTitle->setFont(font);

    layout->addWidget(_pointerLabelTitle);
    layout->addWidget(_pointerViewContent);
}

void ViewBase::setTitle(const QString& title)
{
    _pointerLabelTitle->setText(title);
}

QString ViewBase::title() const
{
    return _pointerLabelTitle->text();
}
