#include "app/UpDownControl.h"

#include "editor/FieldRules.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace m3d {

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAccessibleName(arrow == Qt::UpArrow ? QCoreApplication::translate("UpDownControl", "増やす")
                                                   : QCoreApplication::translate("UpDownControl", "減らす"));
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

UpDownControl::UpDownControl(int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      minimum(minimum),
      maximum(maximum),
      position(minimum),
      up(ArrowButton(Qt::UpArrow, this)),
      down(ArrowButton(Qt::DownArrow, this))
{
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownControl::SetBuddy(QLineEdit* field, int start)
{
    buddy = field;
    position = start;
    buddy->installEventFilter(this);
}

void UpDownControl::Step(int delta)
{
    if (buddy == nullptr) return;
    position = StepUpDown(buddy->text().toStdString(), delta, minimum, maximum, position);
    buddy->setText(QString::number(position));
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    up->setGeometry(0, 0, width(), half);
    down->setGeometry(0, half, width(), height() - half);
}

}  // namespace m3d
