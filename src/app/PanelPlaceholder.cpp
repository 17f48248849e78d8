#include "app/PanelPlaceholder.h"

#include "app/CommandIds.h"

#include <QLabel>
#include <QVBoxLayout>

PanelPlaceholder::PanelPlaceholder(int templateId, const QString& caption, QWidget* parent)
    : QFrame(parent), label(new QLabel(caption, this))
{
    setObjectName(IdName(templateId));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setForegroundRole(QPalette::PlaceholderText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->addWidget(label);
}

void PanelPlaceholder::SetCaption(const QString& caption) { label->setText(caption); }
