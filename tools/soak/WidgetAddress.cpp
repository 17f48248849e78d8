#include "WidgetAddress.h"

#include <QApplication>
#include <QStringList>
#include <QWidget>

namespace m3d::soak {

namespace {

QList<QWidget*> ChildWidgets(const QWidget* parent)
{
    QList<QWidget*> out;
    for (QObject* child : parent->children())
        if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow()) out.push_back(widget);
    return out;
}

QString SegmentOf(const QWidget* widget)
{
    const QList<QWidget*> siblings = ChildWidgets(widget->parentWidget());
    const QString name = widget->objectName();
    if (!name.isEmpty() && !name.contains('/') && !name.contains('#')) {
        int same = 0;
        for (const QWidget* sibling : siblings) same += sibling->objectName() == name ? 1 : 0;
        if (same == 1) return name;
    }
    const char* className = widget->metaObject()->className();
    int index = 0;
    for (const QWidget* sibling : siblings) {
        if (sibling == widget) break;
        if (qstrcmp(sibling->metaObject()->className(), className) == 0) ++index;
    }
    return QString::fromLatin1(className) + '#' + QString::number(index);
}

QWidget* ChildAt(const QWidget* parent, const QString& segment)
{
    const QList<QWidget*> children = ChildWidgets(parent);
    const qsizetype hash = segment.lastIndexOf('#');
    if (hash < 0) {
        for (QWidget* child : children)
            if (child->objectName() == segment) return child;
        return nullptr;
    }
    const QString className = segment.left(hash);
    bool ok = false;
    const int wanted = segment.mid(hash + 1).toInt(&ok);
    if (!ok) return nullptr;
    int index = 0;
    for (QWidget* child : children) {
        if (QString::fromLatin1(child->metaObject()->className()) != className) continue;
        if (index++ == wanted) return child;
    }
    return nullptr;
}

}  // namespace

QString AddressOf(const QWidget* widget, const QWidget* mainWindow)
{
    QStringList segments;
    const QWidget* at = widget;
    for (; at != nullptr && !at->isWindow(); at = at->parentWidget()) segments.prepend(SegmentOf(at));
    QString root;
    if (at == mainWindow)
        root = QStringLiteral("main");
    else if (at == QApplication::activeModalWidget())
        root = QStringLiteral("modal");
    else if (at == QApplication::activePopupWidget())
        root = QStringLiteral("popup");
    else
        root = QStringLiteral("window");
    segments.prepend(root);
    return segments.join('/');
}

QWidget* WidgetAt(const QString& address, QWidget* mainWindow)
{
    const QStringList segments = address.split('/');
    QWidget* at = nullptr;
    if (segments.front() == QLatin1String("main"))
        at = mainWindow;
    else if (segments.front() == QLatin1String("modal"))
        at = QApplication::activeModalWidget();
    else if (segments.front() == QLatin1String("popup"))
        at = QApplication::activePopupWidget();
    for (qsizetype i = 1; at != nullptr && i < segments.size(); ++i) at = ChildAt(at, segments[i]);
    return at;
}

}  // namespace m3d::soak
