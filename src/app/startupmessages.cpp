// SPDX-License-Identifier: GPL-3.0-or-later
#include "startupmessages.h"

#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

// A message handler has no object of its own to keep these in.
QtMessageHandler qtHandler = nullptr;
QStringList heldMessages;

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        heldMessages << qFormatLogMessage(type, context, message);
        return;
    }
    std::fputs("drift-harbour: no display could be opened\n", stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void holdStartupMessages()
{
    qtHandler = qInstallMessageHandler(holdMessage);
}

void releaseStartupMessages()
{
    qInstallMessageHandler(qtHandler);
    for (const QString &message : std::as_const(heldMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
