#include "TranscriptCopy.h"

namespace halvic::hud {

using namespace Qt::Literals::StringLiterals;

QString speakerName(const QString &who)
{
    if (who == speaker::you)
        return u"You"_s;
    if (who == speaker::task)
        return u"Task"_s;
    return u"Halvic"_s;
}

QString transcriptText(const std::vector<Line> &lines)
{
    QString text;
    for (const Line &line : lines)
        text += speakerName(line.who) + u": "_s + line.text + u'\n';
    return text;
}

} // namespace halvic::hud
