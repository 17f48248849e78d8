#include "app/StartupMessages.h"

#include "editor/DisplayCheck.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace m3d {

namespace {

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        held.push_back({type, context.category ? context.category : "", text});
        return;
    }
    // The platform's own warning says why ("could not connect to display :1");
    // the fatal text only that no platform started.
    QString reason = text.section('\n', 0, 0);
    for (const HeldMessage& message : held) {
        if (message.type != QtDebugMsg && message.type != QtInfoMsg && message.category.starts_with("qt.qpa")) {
            reason = message.text.section('\n', 0, 0);
            break;
        }
    }
    std::fprintf(stderr, "%s\n", NoDisplayMessage(reason.toStdString()).c_str());
    std::_Exit(1);
}

}  // namespace

void BeginHoldingStartupMessages() { previousHandler = qInstallMessageHandler(HoldMessage); }

void EndHoldingStartupMessages()
{
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
        qt_message_output(message.type, context, message.text);
    }
    held.clear();
}

}  // namespace m3d
