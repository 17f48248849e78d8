#include "app/PanelPlaceholder.h"

#include "app/CommandIds.h"

#include <QLabel>
#include <QVBoxLayout>

PanelPlaceholder::PanelPlaceholder(int templateId, const QString& caption, QWidget* parent) : QFrame(parent)
{
    setObjectName(IdName(templateId));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* label = new QLabel(caption, this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setForegroundRole(QPalette::PlaceholderText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->addWidget(label);
}
