#include "TranscriptCopy.h"

#include <QCoreApplication>

namespace halvic::hud {

using namespace Qt::Literals::StringLiterals;

QString speakerName(const QString &who)
{
    if (who == speaker::you)
        return QCoreApplication::translate("TranscriptCopy", "You");
    if (who == speaker::task)
        return QCoreApplication::translate("TranscriptCopy", "Task");
    return QCoreApplication::translate("TranscriptCopy", "Halvic");
}

QString transcriptText(const std::vector<Line> &lines)
{
    QString text;
    for (const Line &line : lines)
        text += speakerName(line.who) + u": "_s + line.text + u'\n';
    return text;
}

} // namespace halvic::hud
